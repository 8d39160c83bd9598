#pragma once
// Where a window was: per-user settings in the "Client" section, under the
// keys the window is known by (QuorvelTop, QuorvelLeft, QuorvelWindowState;
// PlanviewTop, ...).

#include <QSettings>
#include <QString>
#include <QWidget>

namespace qv::ui {

// Restores prefix+"Top"/"Left" (and "Width"/"Height" when stored), and
// prefix+"WindowState" (2 maximised, 1 minimised) when withState. Positions
// off every screen are ignored so a window never opens out of reach.
void restoreWindowPlace(QWidget* window, QSettings& settings, const QString& prefix, bool withState = false);
void saveWindowPlace(const QWidget* window, QSettings& settings, const QString& prefix,
                     bool withState = false);

}  // namespace qv::ui
