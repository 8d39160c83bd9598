#pragma once
// The events window: an event ties an area entering a preset, or one exact
// network message (a custom code), to a macro. Choosing an event's name loads
// its choices; Save adds or changes it, Delete removes it, and both make the
// change fire (or stop) at once.

#include "features/reactions/events_editor.h"

#include <QWidget>

class QComboBox;

namespace qv::ui {

class Windows;

class EventsForm : public QWidget {
    Q_OBJECT
public:
    explicit EventsForm(Windows& windows, QWidget* parent = nullptr);

private:
    void reload();
    void choose(const QString& name);
    void fillPresets();
    void save();
    void remove();
    reactions::EventDraft draft() const;

    Windows& m_windows;
    reactions::EventsEditor m_editor;
    QComboBox* m_name = nullptr;
    QComboBox* m_macro = nullptr;
    QComboBox* m_area = nullptr;
    QComboBox* m_preset = nullptr;
    QComboBox* m_customCode = nullptr;
};

}  // namespace qv::ui
