#pragma once
// The texts the devices windows show. Those the users have always seen are
// kept word for word; the rest are ours.

#include <QString>

namespace qv::devices::msg {

// Sensors.
inline const QString kIntervalRange = QStringLiteral("please enter a value between 0-30000 only");
inline const QString kNoInterval =
    QStringLiteral("you have selected no interval, effectively turning logging off");
inline const QString kNeedBoxNumber = QStringLiteral("you need to enter a box number for the sensor");
inline const QString kBoxAlreadyEntered =
    QStringLiteral("This box number has already been entered in the Database, you can not add it again");
inline const QString kDeleteSensorQuestion = QStringLiteral("Are you sure you want to delete this sensor?");
inline const QString kBoxNumberRange = QStringLiteral("the box number must be a whole number from 1 to 255");
inline const QString kCalibrationNotNumber = QStringLiteral("the calibration must be a number above 0");
inline const QString kNoSuchSensor = QStringLiteral("that sensor is no longer in the Database");
inline const QString kNoAnswer = QStringLiteral("???");

// Roll call.
inline const QString kRollCallWindowTitle = QStringLiteral("RollCall in Progress");
inline const QString kNeedRollCallName = QStringLiteral(
    "you need to give the Rollcall a name before selecting devices to include on the Rollcall list");
inline const QString kSelectRollCallName =
    QStringLiteral("You need to select a Rollcall Name to save these actions");
inline const QString kSelectAnAction = QStringLiteral("You should select an Action to take.");
inline const QString kNoMacroChosen =
    QStringLiteral("You have not selected a macro to run but you have checked the Macro Check Box.");
inline const QString kNoRecipient = QStringLiteral("You have not selected someone to email the report to");
inline const QString kDeviceAlreadyInstalled =
    QStringLiteral("that device is already installed with that box number");
inline const QString kNoSuchDeviceType = QStringLiteral("choose a device type for the device");
inline const QString kBoxRange = QStringLiteral("the box number must be a whole number from 0 to 255");

// Energy.
inline const QString kFittingExists = QStringLiteral("That Fitting Type already exists");
inline const QString kNeedFittingName = QStringLiteral("enter a name for the Fitting Type");
inline const QString kNoSuchFitting = QStringLiteral("that Fitting Type is no longer in the Database");
inline const QString kPercentageRange =
    QStringLiteral("the power percentage must be a whole number from 0 to 100");
inline const QString kLoadNotNumber = QStringLiteral("the load must be a number of 0 or more");
inline const QString kAreaRange = QStringLiteral("the area must be a whole number from 1 to 255");
inline const QString kChannelRange = QStringLiteral("the channel must be a whole number from 1 to 256");
inline const QString kLampCountRange =
    QStringLiteral("the number of lamps must be a whole number of 0 or more");
inline const QString kEnergyWindowTitle = QStringLiteral("Produce Energy Usage Reports");
inline const QString kEnergyButton = QStringLiteral("Create EnergyUsage.MDB");

}  // namespace qv::devices::msg
