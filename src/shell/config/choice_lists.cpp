#include "shell/config/choice_lists.h"

namespace qv::config {

QStringList baudRateChoices() {
    return {"115200", "57600", "38400", "19200", "9600", "4800", "2400", "1200", "300", "110"};
}

QStringList dataBitsChoices() {
    return {"8", "7", "6", "5", "4"};
}

QStringList parityChoices() {
    return {"even", "odd", "none", "mark", "space"};
}

QStringList stopBitsChoices() {
    return {"1", "1.5", "2"};
}

QStringList serialPortChoices(const std::function<bool(int)>& canOpen) {
    QStringList entries;
    for (int port = 1; port <= kSerialPortCount; ++port) {
        QString entry = QString::number(port);
        if (canOpen && !canOpen(port)) entry += QStringLiteral(" x");
        entries << entry;
    }
    return entries;
}

int serialPortFromChoice(const QString& entry) {
    QString text = entry.trimmed();
    if (text.endsWith(QStringLiteral(" x"))) text.chop(2);
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    return ok && port >= 1 && port <= kSerialPortCount ? port : 0;
}

QStringList localAddressChoices(const QStringList& machineAddresses) {
    QStringList entries{QStringLiteral("127.0.0.1")};
    for (const QString& address : machineAddresses) {
        const QString trimmed = address.trimmed();
        if (!trimmed.isEmpty() && !entries.contains(trimmed)) entries << trimmed;
    }
    return entries;
}

int choiceIndex(const QStringList& choices, const QString& value) {
    const QString wanted = value.trimmed();
    for (int i = 0; i < choices.size(); ++i)
        if (choices[i].compare(wanted, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

}  // namespace qv::config
