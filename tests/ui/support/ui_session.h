#pragma once
// A real engine against quorvel-sim on a pseudo-terminal, with a fresh data
// directory, the window registry and (on request) the main window: what a
// window test drives. Message boxes are recorded instead of shown; questions
// are answered from answers (Yes when it is empty).

#include "shell/engine.h"
#include "store/data_paths.h"
#include "support/qt_support.h"
#include "ui/common/message_box.h"
#include "ui/windows.h"

#include "process/simulator_process.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariantList>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace qv::ui {
class MainWindow;
}

namespace qv::test {

// Makes the data directory's files (one start and shutdown of an engine), so
// a test can write rows before the session it drives starts.
using Seed = std::function<void(const QString& dataDir)>;

// Runs one statement on a file of a data directory (in a Seed, while no
// engine runs); a failure fails the test.
void execOnFile(const QString& dataDir, const QString& sql, const QVariantList& values = {},
                store::DbKind kind = store::DbKind::Main);

// The named control of a window; a missing one is named in a warning.
template <typename T>
T* child(QWidget* window, const char* name) {
    auto* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found) qWarning("no control %s", name);
    return found;
}

// Clicks the named button as its own click(): a frame just shown may not
// have its place on the offscreen screen yet, so a mouse click could miss.
void click(QWidget* window, const char* name);

class UiSession {
public:
    struct Options {
        QStringList simArguments;  // beside --link
        bool mainWindow = false;
        Seed seed;                   // rows written into the files before the start
        qv::Clock* clock = nullptr;  // the engine's clock (the test's); the system clock when null
        int channelSeekStepMs = 0;   // 0: the program's own channel seek step
    };

    UiSession();
    explicit UiSession(Options options);
    ~UiSession();

    // Starts the simulator and the engine; false (with why()) when either fails.
    bool start();
    QString why() const { return m_why; }

    shell::Engine& engine() { return *m_engine; }
    ui::Windows& windows() { return *m_windows; }
    ui::MainWindow* mainWindow() { return m_mainWindow.get(); }
    QSettings& userSettings() { return m_settings; }
    QString dataDir() const { return m_data.path(); }
    QString simLink() const { return m_simDir.filePath(QStringLiteral("gateway")); }

    // Runs one statement on the live main database; valueOnMain returns the
    // first column of its first row (invalid when there is none).
    void execOnMain(const QString& sql, const QVariantList& values = {});
    QVariant valueOnMain(const QString& sql, const QVariantList& values = {});

    // The boxes shown so far, and the answers the next questions get.
    std::vector<ui::BoxRequest> boxes;
    std::deque<bool> answers;
    bool sawBox(const QString& text) const;

    // Runs the event loop until the condition holds or the time is up.
    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);

private:
    bool startSimulator();
    bool runEngine(bool keepRunning);

    Options m_options;
    QTemporaryDir m_data, m_simDir, m_runtime;
    QSettings m_settings;
    process::SimulatorProcess m_sim;
    std::unique_ptr<qv::Clock> m_clock;
    std::unique_ptr<shell::Engine> m_engine;
    std::unique_ptr<ui::Windows> m_windows;
    std::unique_ptr<ui::MainWindow> m_mainWindow;
    QString m_why;
};

// The application object for a window test program (call first in main or
// in initTestCase; QTEST_MAIN makes one too).
QApplication& uiApp();

}  // namespace qv::test
