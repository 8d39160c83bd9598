#pragma once
// The small windows of the desktop: the running macros (ThreadsForm), the
// debug list (DebugForm) and the script console.

#include <QWidget>

class QListWidget;
class QPlainTextEdit;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

// 30 slots, each with the macro running there and its cancel button.
class ThreadsWindow : public QWidget {
    Q_OBJECT
public:
    explicit ThreadsWindow(shell::Engine& engine, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
};

// The lines start-up and maintenance write; "###" lines mark failures.
class DebugWindow : public QWidget {
    Q_OBJECT
public:
    explicit DebugWindow(shell::Engine& engine, QWidget* parent = nullptr);
    QListWidget* list() const { return m_list; }
    static bool isFailureLine(const QString& line) { return line.startsWith(QLatin1String("###")); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void addLine(const QString& line);
    QListWidget* m_list = nullptr;
};

// A code box and a run button; errors in a "Quorvel Scripting" box.
class ScriptConsoleWindow : public QWidget {
    Q_OBJECT
public:
    explicit ScriptConsoleWindow(shell::Engine& engine, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace qv::ui
