#pragma once
// What an editor's button did: the window shows `message` (when not empty)
// in a message box with `icon`, and reloads its lists when `done`.

#include <QString>

namespace qv::reactions {

enum class MessageIcon { None, Information, Exclamation, Critical };

struct EditorResult {
    bool done = false;
    QString message;
    MessageIcon icon = MessageIcon::None;

    static EditorResult ok() { return {true, {}, MessageIcon::None}; }
    static EditorResult refused(QString text, MessageIcon icon = MessageIcon::Exclamation) {
        return {false, std::move(text), icon};
    }
};

}  // namespace qv::reactions
