#pragma once
// The names window: the area grid, the preset grid of the chosen area,
// naming by double-click through InputForm, DEL to delete a name, and Apply
// to all. Closing it reloads the name tables, so labels everywhere follow.

#include "editors/area_names.h"

#include <QWidget>

class QTableWidget;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class AreaNameForm : public QWidget {
    Q_OBJECT
public:
    explicit AreaNameForm(shell::Engine& engine, QWidget* parent = nullptr);
    void reload();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    int currentArea() const;
    int currentPreset() const;
    void showPresets();
    void nameArea(int row);
    void namePreset(int row);
    void applyToAll();

    shell::Engine& m_engine;
    editors::AreaNames m_names;
    QTableWidget* m_areas;
    QTableWidget* m_presets;
};

}  // namespace qv::ui
