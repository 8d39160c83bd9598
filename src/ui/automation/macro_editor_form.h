#pragma once
// The macro editor: the macro tree, the lines of the open macro and the
// panels that build a line (area preset, channel level, delay, run macro,
// media file, roll call, custom code, cancel / enable / disable macro, e-mail,
// light box, plan-view navigation). Dragging in the macro tree moves macros
// and folders and reorders macros. "Search macros" keeps in the tree only the
// macros whose name or a line's text contains the typed text, shown in bold.

#include "macros/macro_lines.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace qv::ui {

class Windows;

class MacroEditorForm : public QWidget {
    Q_OBJECT
public:
    explicit MacroEditorForm(Windows& windows, QWidget* parent = nullptr);

    // Opens the macro of that name (its lines in the line tree).
    void openMacro(const QString& name);
    QString openMacroName() const { return m_macroName; }
    void reloadTree();

private:
    void showLines();
    void addBuilt(const QStringList& lines, const QString& message);
    void addPreset();
    void addChannel();
    void addDelay();
    void addRunMacro();
    void browseMedia();
    void fillPickLists();
    void deleteLine();
    void moveLine(int step);
    void renameNode(const QString& name);
    void save();
    void deleteNode();
    void fillChannels();
    void onRunningLine(int slot, const QString& macroName, int commandnumber);
    void fillLightBoxes();
    void fillBoxLevels();
    void addLightBox();
    void fillPlanViews();
    void addPlanView();
    void dropNode(QTreeWidgetItem* dragged, QTreeWidgetItem* target);
    void applySearch();
    void openFirstFound();

    Windows& m_windows;
    QString m_macroName;
    QString m_copiedName;  // the macro Copy took, for Paste
    macros::MacroLines m_lines;
    int m_tracedLine = -1;

    QLineEdit* m_search = nullptr;
    QTreeWidget* m_tree = nullptr;
    QTreeWidget* m_lineTree = nullptr;
    QComboBox* m_presetArea = nullptr;
    QComboBox* m_preset = nullptr;
    QLineEdit* m_fade = nullptr;
    QComboBox* m_channelArea = nullptr;
    QComboBox* m_channel = nullptr;
    QLineEdit* m_level = nullptr;
    QLineEdit* m_channelFade = nullptr;
    QLineEdit* m_hours = nullptr;
    QLineEdit* m_minutes = nullptr;
    QLineEdit* m_seconds = nullptr;
    QComboBox* m_runMacro = nullptr;
    QLineEdit* m_mediaFile = nullptr;
    QComboBox* m_rollCall = nullptr;
    QComboBox* m_customCode = nullptr;
    QComboBox* m_cancelMacro = nullptr;
    QComboBox* m_enableMacro = nullptr;
    QComboBox* m_disableMacro = nullptr;
    QComboBox* m_email = nullptr;
    QComboBox* m_lightBox = nullptr;
    std::array<QLabel*, 3> m_boxChannelLabels{};
    std::array<QComboBox*, 3> m_boxLevels{};
    std::array<int, 3> m_boxChannels{};  // the channel numbers of the chosen box, 0 when it has fewer
    QTreeWidget* m_planViews = nullptr;
};

}  // namespace qv::ui
