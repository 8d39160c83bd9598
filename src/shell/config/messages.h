#pragma once
// The texts the configuration window shows, word for word as users and their
// manuals know them (spelling included). The engine returns them; the window
// decides how to show them.

#include <QString>

namespace qv::config::msg {

// Validations of OK, in the order they are checked.
inline const QString kPasswordNotConfirmed =
    QStringLiteral("you have entered a new password but the confirmation is not the same");
inline const QString kServerNeeded = QStringLiteral("You need to select an IP address for the Server");
inline const QString kComPortNeeded =
    QStringLiteral("You need to select a Serial Com Port on the Comms page");
inline const QString kRestartNeeded = QStringLiteral("Quorvel needs to be restarted");

// The password frame and the password change.
inline const QString kPasswordIncorrect = QStringLiteral("password incorrect");
inline const QString kPasswordRule = QStringLiteral(
    "Sorry, you can only use Letters and Numbers for passwords... Passwords should not being with a "
    "numeric...");
// OK asked for while the password frame still covers the tabs.
inline const QString kLocked = QStringLiteral("The configuration is locked until the password is entered");

inline const QString kInvalidIPNumber = QStringLiteral("You have entered an invalid IP number");
inline const QString kWatchDogRestart =
    QStringLiteral("Changes to Watchdog setting will only come into effect when Quorvel is restarted");

// Sensor-log reset.
inline const QString kSensorLogResetQuestion = QStringLiteral(
    "You are about to delete all records in the Sensor Log. Before doing this, is is recommended that you "
    "back "
    "this file up if you haven't already\n\nAre you sure you want to delete the log?");
inline const QString kSensorLogDeleted = QStringLiteral("All records Deleted in Sensor Log file..");

// Import of area and channel names.
inline const QString kImportTitle = QStringLiteral("Warning!");
inline const QString kImportQuestion = QStringLiteral(
    "The Import function imports Area names and Channel names from an Excel Spreadsheet named "
    "AreaChannelNames.XLS which must be in the Quorvel Directory.\n\nIf you proceed now, this process will "
    "overwrite any existing Area/Channel names in the Database!\n\nAre you sure you want to continue?");
inline const QString kImportFileMissing =
    QStringLiteral("The files named AreaChannelNames.XLS could not be found");
inline const QString kImportFinished = QStringLiteral("Import finished!");

// Circuit-finding test.
inline const QString kCircuitTestQuestion = QStringLiteral(
    "This command will send Areas 1 to 255 to Preset 1, in 1 second intervals. Useful for finding a "
    "particular "
    "circuit.\nAre you sure you wish to continue ?");

// Monitor texts.
inline const QString kDirectControlIssuesAreaPreset = QStringLiteral("Direct Control issues Area/Preset");

}  // namespace qv::config::msg
