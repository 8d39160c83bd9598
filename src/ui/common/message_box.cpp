#include "ui/common/message_box.h"

#include <QApplication>

namespace qv::ui {

namespace {

BoxHook& hook() {
    static BoxHook h;
    return h;
}

QMessageBox::Icon iconOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::Information:
            return QMessageBox::Information;
        case BoxKind::Exclamation:
            return QMessageBox::Warning;
        case BoxKind::Critical:
            return QMessageBox::Critical;
        case BoxKind::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString titleOr(const QString& title) {
    return title.isEmpty() ? QApplication::applicationName() : title;
}

}  // namespace

void setMessageBoxHook(BoxHook h) {
    hook() = std::move(h);
}

QMessageBox* showMessage(QWidget* parent, BoxKind kind, const QString& text, const QString& title) {
    bool unused = false;
    if (hook() && hook()({kind, text, title, false}, &unused)) return nullptr;
    // Shown without waiting, so the engine goes on while the box is up.
    auto* box = new QMessageBox(iconOf(kind), titleOr(title), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("MessageBox"));
    box->open();
    return box;
}

bool askYesNo(QWidget* parent, const QString& text, const QString& title, bool defaultNo, BoxKind kind) {
    bool yes = false;
    if (hook() && hook()({kind, text, title, true}, &yes)) return yes;
    QMessageBox box(iconOf(kind), titleOr(title), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

bool showResult(QWidget* parent, const reactions::EditorResult& result, const QString& title) {
    if (!result.message.isEmpty()) {
        BoxKind kind = BoxKind::Information;
        if (result.icon == reactions::MessageIcon::Exclamation) kind = BoxKind::Exclamation;
        if (result.icon == reactions::MessageIcon::Critical) kind = BoxKind::Critical;
        showMessage(parent, kind, result.message, title);
    }
    return result.done;
}

}  // namespace qv::ui
