#pragma once
// Pictures of every window for the documentation: once the program is up,
// the main window, then each scene the window groups registered, one after
// the other, each written as DIR/<name>.png.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace qv::ui {

class Windows;

class ScreenshotTour {
public:
    explicit ScreenshotTour(QString directory);

    // Writes a picture of the widget's window now.
    void take(QWidget* widget, const QString& name);
    // Waits for some traffic, then takes every picture; done runs at the end.
    void run(Windows& windows, QWidget* mainWindow, std::function<void()> done);

private:
    void next(Windows& windows, std::size_t index, std::function<void()> done);

    QString m_directory;
    QPointer<QWidget> m_mainWindow;
};

}  // namespace qv::ui
