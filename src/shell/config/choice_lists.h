#pragma once
// The entries of the comms page's lists, in the order the window shows them.

#include <QString>
#include <QStringList>
#include <functional>

namespace qv::config {

QStringList baudRateChoices();  // "115200" ... "110"
QStringList dataBitsChoices();  // "8" ... "4"
QStringList parityChoices();    // "even", "odd", "none", "mark", "space"
QStringList stopBitsChoices();  // "1", "1.5", "2"

inline constexpr int kSerialPortCount = 16;

// Ports 1..16; a port that canOpen(port) refuses is listed with " x" after
// its number, so the user sees which ports are taken or missing.
QStringList serialPortChoices(const std::function<bool(int port)>& canOpen);
// The port number of a list entry ("3" or "3 x"); 0 when the text names none.
int serialPortFromChoice(const QString& entry);

// "127.0.0.1" first, then this computer's addresses without repeats.
QStringList localAddressChoices(const QStringList& machineAddresses);

// The index of value in a list, ignoring letter case (stored files hold
// "None" where the list says "none"); -1 when it is not there.
int choiceIndex(const QStringList& choices, const QString& value);

}  // namespace qv::config
