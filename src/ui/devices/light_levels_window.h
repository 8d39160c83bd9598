#pragma once
// Light levels: one row per channel of an area (slider, level, "query" until
// the channel answers, its name), the area's presets, saving the levels as a
// preset and seeking the channels an area has.

#include <QWidget>

#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSlider;
class QVBoxLayout;

namespace qv::shell {
class Engine;
}
namespace qv::reactions {
class LightLevels;
struct ChannelRow;
}  // namespace qv::reactions

namespace qv::ui {

class LightLevelsWindow : public QWidget {
    Q_OBJECT
public:
    LightLevelsWindow(shell::Engine& engine, QWidget* parent = nullptr);

    // Shows the area (the plan view opens the window for one).
    void showArea(int area);
    // Save and seek follow the settings that allow them.
    void applyPermissions();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct RowWidgets {
        QSlider* slider = nullptr;
        QLabel* percent = nullptr;
        QLabel* query = nullptr;
        QLineEdit* name = nullptr;
    };

    void chooseArea();
    void rebuildRows();
    void showRow(int channel);
    void save();
    void saveToOthers();
    void seek();

    shell::Engine& m_engine;
    reactions::LightLevels& m_levels;
    QComboBox* m_areas;
    QComboBox* m_presets;
    QListWidget* m_others;
    QLabel* m_loading;
    QVBoxLayout* m_rowsLayout;
    QWidget* m_rowsHost;
    QProgressBar* m_progress;
    QPushButton* m_save;
    QPushButton* m_saveOthers;
    QPushButton* m_seek;
    QPushButton* m_stop;
    std::map<int, RowWidgets> m_rows;
    bool m_filling = false;
};

}  // namespace qv::ui
