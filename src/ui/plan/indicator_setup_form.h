#pragma once
// Indicator setup: the colour lines of an indicator's area on its drawing
// (which colour and icon it shows for which preset), its default colour and
// the channels the floating preset window offers.

#include <QColor>
#include <QWidget>

class QComboBox;
class QListWidget;
class QPushButton;
class QTableWidget;
class QWidget;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class IndicatorSetupForm : public QWidget {
    Q_OBJECT
public:
    IndicatorSetupForm(shell::Engine& engine, int planIndicatorId, QWidget* parent = nullptr);

    int indicatorId() const { return m_indicatorId; }
    void setLineColour(const QColor& colour);
    void setDefaultColour(const QColor& colour);
    void setIcon(const QString& file) { m_icon = file; }
    // Enter: stores the line of the chosen area and preset.
    void enter();
    void deleteCurrentLine();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void areaChosen();
    void loadGrid();
    void channelTicked(int row);

    shell::Engine& m_engine;
    int m_indicatorId;
    int m_index = 0;
    QString m_drawing;
    QColor m_lineColour = Qt::green;
    QString m_icon;
    QComboBox* m_areas;
    QComboBox* m_presets;
    QTableWidget* m_grid;
    QPushButton *m_defaultColour, *m_colour, *m_iconButton, *m_advanced;
    QListWidget *m_channels, *m_switching;
    QWidget* m_advancedPart;
};

}  // namespace qv::ui
