#include "ui/screenshot_tour.h"

#include "ui/window_names.h"
#include "ui/windows.h"

#include <QDir>
#include <QTimer>

#include <cstdio>

namespace qv::ui {

namespace {

constexpr int kTrafficWaitMs = 4000;  // the simulator's panels get pressed meanwhile
constexpr int kSettleMs = 900;        // a window paints and fills from the network

}  // namespace

ScreenshotTour::ScreenshotTour(QString directory) : m_directory(std::move(directory)) {
    QDir().mkpath(m_directory);
}

void ScreenshotTour::take(QWidget* widget, const QString& name) {
    if (!widget) return;
    const QString path = QDir(m_directory).filePath(name + QStringLiteral(".png"));
    const bool saved = widget->window()->grab().save(path);
    std::fprintf(stderr, "screenshots: %s %s\n", saved ? "wrote" : "could not write",
                 path.toLocal8Bit().constData());
}

void ScreenshotTour::run(Windows& windows, QWidget* mainWindow, std::function<void()> done) {
    m_mainWindow = mainWindow;
    QTimer::singleShot(kTrafficWaitMs, mainWindow, [this, &windows, done = std::move(done)] {
        take(m_mainWindow, window::kMain);
        next(windows, 0, done);
    });
}

void ScreenshotTour::next(Windows& windows, std::size_t index, std::function<void()> done) {
    if (index >= windows.scenes().size()) {
        done();
        return;
    }
    const auto& [name, scene] = windows.scenes()[index];
    QPointer<QWidget> shown = scene(windows);
    const QString picture = name;
    QTimer::singleShot(kSettleMs, m_mainWindow, [this, &windows, index, shown, picture, done] {
        if (shown) {
            take(shown, picture);
            if (shown->window() != m_mainWindow) shown->window()->hide();
        } else {
            std::fprintf(stderr, "screenshots: the scene %s showed no window\n",
                         picture.toLocal8Bit().constData());
        }
        next(windows, index + 1, done);
    });
}

}  // namespace qv::ui
