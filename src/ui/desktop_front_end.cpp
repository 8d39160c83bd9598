#include "ui/desktop_front_end.h"

#include "shell/session.h"
#include "ui/common/message_box.h"
#include "ui/main_window/main_window.h"
#include "ui/main_window/title_form.h"
#include "ui/screenshot_tour.h"
#include "ui/window_catalogue.h"
#include "ui/window_names.h"
#include "ui/windows.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSessionManager>
#include <QSet>

#include <memory>

namespace qv::ui {

namespace {

// A fatal message ends the program: the box waits for the user.
void showFatal(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok);
    box.exec();
}

}  // namespace

int runDesktop(const shell::HeadlessOptions& options) {
    QApplication::setQuitOnLastWindowClosed(false);
    shell::Session session(options);
    if (const int code = session.prepare()) {
        showFatal(session.error());
        return code;
    }
    shell::Engine& engine = session.engine();

    TitleForm splash;
    splash.show();
    std::unique_ptr<Windows> windows;
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<ScreenshotTour> tour;
    if (!options.screenshotsDir.isEmpty()) tour = std::make_unique<ScreenshotTour>(options.screenshotsDir);

    QObject::connect(&engine, &shell::Engine::splashCaption, &splash, [&](const QString& text) {
        if (mainWindow) return;  // the closing caption is the main window's
        splash.setCaption(text);
        if (tour && text == QStringLiteral("Loading...Button Labels")) tour->take(&splash, window::kSplash);
    });
    QObject::connect(&engine, &shell::Engine::loadProgress, &splash, &TitleForm::setProgress);

    // The same report can come again and again while a link is away: one
    // box at a time for each text.
    QSet<QString> shown;
    auto report = [&](BoxKind kind, const QString& text) {
        if (shown.contains(text)) return;
        shown.insert(text);
        QWidget* parent = mainWindow ? static_cast<QWidget*>(mainWindow.get()) : &splash;
        if (QMessageBox* box = showMessage(parent, kind, text))
            QObject::connect(box, &QObject::destroyed, &engine, [&shown, text] { shown.remove(text); });
        else
            shown.remove(text);
    };
    QObject::connect(&engine, &shell::Engine::alert, &engine,
                     [&](const QString& t) { report(BoxKind::Critical, t); });
    QObject::connect(&engine, &shell::Engine::information, &engine,
                     [&](const QString& t) { report(BoxKind::Information, t); });
    QObject::connect(&session, &shell::Session::scriptError, &engine,
                     [&](const QString& t) { report(BoxKind::Information, t); });
    QObject::connect(&session, &shell::Session::stopStarted, &engine, [&] {
        if (mainWindow) mainWindow->showClosing();
    });
    // A logout or a system shutdown is never refused.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &engine, [&](QSessionManager&) {
        if (mainWindow) mainWindow->allowClose();
        session.stop(0);
    });

    session.start([&](const shell::StartResult& result) {
        if (!result.ok) {
            splash.hide();
            showFatal(result.fatalMessage);
            return;
        }
        windows = std::make_unique<Windows>(engine, nullptr);
        addAllWindows(*windows);
        mainWindow = std::make_unique<MainWindow>(engine, *windows, session.userSettings());
        windows->setMainWindow(mainWindow.get());
        QObject::connect(mainWindow.get(), &MainWindow::quitRequested, &engine, [&] { session.stop(0); });
        mainWindow->show();
        splash.close();
        if (tour) tour->run(*windows, mainWindow.get(), [&] { session.stop(0); });
    });

    QApplication::exec();
    if (windows) windows->closeAll();
    if (mainWindow) {
        mainWindow->allowClose();
        mainWindow->close();
    }
    mainWindow.reset();
    windows.reset();
    return session.finish();
}

}  // namespace qv::ui
