#include "ui/desktop/small_windows.h"

#include "macros/macro_engine.h"
#include "macros/threads_model.h"
#include "shell/debug_log.h"
#include "shell/engine.h"
#include "shell/script_console.h"
#include "ui/common/message_box.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::ui {

namespace {
constexpr int kThreadSlots = 30;
}

ThreadsWindow::ThreadsWindow(shell::Engine& engine, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ThreadsForm"));
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Running Macros"));
    auto* grid = new QGridLayout;
    macros::MacroEngine* macroEngine = engine.macroEngine();
    // Two columns of fifteen slots.
    for (int slot = 1; slot <= kThreadSlots; ++slot) {
        auto* number = new QLabel(QStringLiteral("M%1").arg(slot), this);
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("ThreadLabel%1").arg(slot));
        label->setMinimumWidth(180);
        label->setFrameShape(QFrame::StyledPanel);
        auto* cancel = new QPushButton(tr("Cancel"), this);
        cancel->setObjectName(QStringLiteral("CancelThreadButton%1").arg(slot));
        const int row = (slot - 1) % 15;
        const int column = (slot - 1) / 15 * 3;
        grid->addWidget(number, row, column);
        grid->addWidget(label, row, column + 1);
        grid->addWidget(cancel, row, column + 2);
        if (!macroEngine) {
            cancel->setEnabled(false);
            continue;
        }
        macros::MacroPool& pool = macroEngine->pool();
        label->setText(pool.threads().ThreadLabel(slot));
        cancel->setEnabled(!label->text().isEmpty());
        connect(cancel, &QPushButton::clicked, this, [&pool, slot] { pool.CancelThreadButton(slot); });
        connect(&pool.threads(), &QAbstractItemModel::dataChanged, label,
                [label, cancel, &pool, slot](const QModelIndex& from, const QModelIndex& to) {
                    if (slot - 1 < from.row() || slot - 1 > to.row()) return;
                    label->setText(pool.threads().ThreadLabel(slot));
                    cancel->setEnabled(!label->text().isEmpty());
                });
    }
    auto* cancelAll = new QPushButton(tr("Cancel All"), this);
    cancelAll->setObjectName(QStringLiteral("CancelAllButton"));
    if (macroEngine)
        connect(cancelAll, &QPushButton::clicked, this,
                [macroEngine] { macroEngine->pool().CancelAllMacros(QStringLiteral("All")); });
    else
        cancelAll->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cancelAll);
    layout->addLayout(bottom);
}

void ThreadsWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

DebugWindow::DebugWindow(shell::Engine& engine, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DebugForm"));
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Debug"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("DebugList"));
    m_list->setUniformItemSizes(true);
    for (const QString& line : engine.debugLog().lines()) addLine(line);
    connect(&engine.debugLog(), &shell::DebugLog::lineAdded, this, &DebugWindow::addLine);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    resize(640, 400);
}

void DebugWindow::addLine(const QString& line) {
    auto* item = new QListWidgetItem(line, m_list);
    if (isFailureLine(line)) {
        item->setBackground(QColor(255, 0, 0));
        item->setForeground(QColor(255, 255, 255));
    }
    m_list->scrollToBottom();
}

void DebugWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

ScriptConsoleWindow::ScriptConsoleWindow(shell::Engine& engine, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ScriptConsole"));
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Script Console"));
    auto* code = new QPlainTextEdit(this);
    code->setObjectName(QStringLiteral("Text1"));
    code->setPlaceholderText(tr("function main() { ... }"));
    code->setTabStopDistance(code->fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
    auto* result = new QLabel(this);
    result->setObjectName(QStringLiteral("ScriptResultLabel"));
    result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* run = new QPushButton(tr("Execute"), this);
    run->setObjectName(QStringLiteral("executescriptbutton"));
    connect(run, &QPushButton::clicked, this, [this, &engine, code, result] {
        const shell::ScriptConsole::Outcome outcome = engine.runScript(code->toPlainText());
        if (!outcome.ok) {
            result->clear();
            showMessage(this, BoxKind::Information, outcome.error,
                        QString::fromLatin1(shell::ScriptConsole::kTitle));
            return;
        }
        result->setText(outcome.result);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(code, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(result, 1);
    bottom->addWidget(run);
    layout->addLayout(bottom);
    resize(560, 360);
}

void ScriptConsoleWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

}  // namespace qv::ui
