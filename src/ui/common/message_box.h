#pragma once
// Message boxes with the icon each message is given. The engine's outcome
// types all come down to a text and a kind.

#include "features/reactions/editor_result.h"

#include <QMessageBox>
#include <QString>

namespace qv::ui {

enum class BoxKind { Information, Exclamation, Critical, Question };

// The program's name is the title unless one is given. The box is shown
// and the call returns at once (window-modal over parent); the box deletes
// itself when closed (nullptr when a hook answered it).
QMessageBox* showMessage(QWidget* parent, BoxKind kind, const QString& text, const QString& title = {});
// Yes/No; true for Yes. defaultNo makes No the default button. Waits for
// the answer: only for questions the user's own action asked.
bool askYesNo(QWidget* parent, const QString& text, const QString& title = {}, bool defaultNo = false,
              BoxKind kind = BoxKind::Question);

// Shows an editor's message (if any) with its icon; returns whether it was done.
bool showResult(QWidget* parent, const reactions::EditorResult& result, const QString& title = {});

// While a test or the screenshot tool runs, boxes can be answered without a
// person: the hook sees every box before it shows and may answer it.
struct BoxRequest {
    BoxKind kind;
    QString text;
    QString title;
    bool question = false;
};
// Returns true to answer without showing; *yes is the answer to a question.
using BoxHook = std::function<bool(const BoxRequest& request, bool* yes)>;
void setMessageBoxHook(BoxHook hook);

}  // namespace qv::ui
