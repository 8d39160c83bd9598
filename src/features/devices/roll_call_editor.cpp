#include "features/devices/roll_call_editor.h"

#include "features/devices/messages.h"
#include "features/devices/roll_call_name.h"
#include "store/transaction.h"

#include <QSqlQuery>

namespace qv::devices {

RollCallEditor::RollCallEditor(store::Database& main) : m_main(main) {}

store::Outcome RollCallEditor::failed(const QString& what, const std::exception& error) {
    return store::Outcome::refused(QStringLiteral("%1: %2").arg(what, QString::fromUtf8(error.what())));
}

QStringList RollCallEditor::rollCallNames() {
    QSqlQuery q =
        m_main.run(QStringLiteral("SELECT RollCallName FROM RollCall WHERE RollCallName <> '' UNION "
                                  "SELECT RollCall FROM RollCallActions WHERE RollCall <> '' ORDER BY 1"));
    QStringList names;
    while (q.next()) names.append(q.value(0).toString());
    return names;
}

std::vector<DeviceTypeRow> RollCallEditor::deviceTypes() {
    QSqlQuery q =
        m_main.run(QStringLiteral("SELECT Device_ID, Device, DeviceOpCode FROM DeviceTypes ORDER BY Device"));
    std::vector<DeviceTypeRow> rows;
    while (q.next()) rows.push_back({q.value(0).toInt(), q.value(1).toString(), q.value(2).toString()});
    return rows;
}

std::vector<InstalledDeviceRow> RollCallEditor::installedDevices() {
    QSqlQuery q = m_main.run(QStringLiteral(
        "SELECT d.Device_ID, d.BoxNumber, d.Description, t.Device FROM DevicesInstalled d "
        "LEFT JOIN DeviceTypes t ON t.Device_ID = d.Device_ID ORDER BY t.Device, d.BoxNumber"));
    std::vector<InstalledDeviceRow> rows;
    while (q.next())
        rows.push_back(
            {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toString()});
    return rows;
}

std::vector<MemberKey> RollCallEditor::members(const QString& name) {
    QSqlQuery q = m_main.run(
        QStringLiteral("SELECT Device_ID, Boxnumber FROM RollCall WHERE RollCallName = ? ORDER BY rowid"),
        {name});
    std::vector<MemberKey> keys;
    while (q.next()) keys.push_back({q.value(0).toInt(), q.value(1).toInt()});
    return keys;
}

std::optional<RollCallActionsRow> RollCallEditor::actions(const QString& name) {
    return readRollCallActions(m_main, name);
}

store::Outcome RollCallEditor::setMember(const QString& name, int deviceId, int box, bool included) {
    if (name.trimmed().isEmpty()) return store::Outcome::refused(msg::kNeedRollCallName);
    if (const auto problem = rollCallNameProblem(name)) return store::Outcome::refused(*problem);
    try {
        store::Transaction transaction(m_main);
        m_main.run(
            QStringLiteral("DELETE FROM RollCall WHERE RollCallName = ? AND Device_ID = ? AND Boxnumber = ?"),
            {name, deviceId, box});
        if (included) {
            m_main.run(
                QStringLiteral("INSERT INTO RollCall (RollCallName, Device_ID, Boxnumber) VALUES (?, ?, ?)"),
                {name, deviceId, box});
        }
        transaction.commit();
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The roll call could not be changed"), error);
    }
    return store::Outcome::done();
}

store::Outcome RollCallEditor::addInstalledDevice(int deviceId, const QString& boxText,
                                                  const QString& description) {
    bool ok = false;
    const int box = boxText.trimmed().toInt(&ok);
    if (!ok || box < 0 || box > 255) return store::Outcome::refused(msg::kBoxRange);
    try {
        store::Transaction transaction(m_main);
        QSqlQuery type =
            m_main.run(QStringLiteral("SELECT count(*) FROM DeviceTypes WHERE Device_ID = ?"), {deviceId});
        if (!type.next() || type.value(0).toInt() == 0)
            return store::Outcome::refused(msg::kNoSuchDeviceType);
        if (m_main
                .value(QStringLiteral(
                           "SELECT count(*) FROM DevicesInstalled WHERE Device_ID = ? AND BoxNumber = ?"),
                       {deviceId, box})
                .toInt() > 0)
            return store::Outcome::refused(msg::kDeviceAlreadyInstalled);
        m_main.run(QStringLiteral(
                       "INSERT INTO DevicesInstalled (Device_ID, BoxNumber, Description) VALUES (?, ?, ?)"),
                   {deviceId, box, description.trimmed()});
        transaction.commit();
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The device could not be added"), error);
    }
    return store::Outcome::done();
}

store::Outcome RollCallEditor::deleteInstalledDevice(int deviceId, int box) {
    try {
        store::Transaction transaction(m_main);
        for (const char* sql : {"DELETE FROM DevicesInstalled WHERE Device_ID = ? AND BoxNumber = ?",
                                "DELETE FROM RollCall WHERE Device_ID = ? AND Boxnumber = ?"}) {
            m_main.run(QString::fromLatin1(sql), {deviceId, box});
        }
        transaction.commit();
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The device could not be deleted"), error);
    }
    return store::Outcome::done();
}

store::Outcome RollCallEditor::deleteRollCall(const QString& name) {
    if (name.trimmed().isEmpty()) return store::Outcome::refused(msg::kSelectRollCallName);
    try {
        store::Transaction transaction(m_main);
        for (const char* sql : {"DELETE FROM RollCall WHERE RollCallName = ?",
                                "DELETE FROM RollCallActions WHERE RollCall = ?"}) {
            m_main.run(QString::fromLatin1(sql), {name});
        }
        transaction.commit();
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The roll call could not be deleted"), error);
    }
    return store::Outcome::done();
}

store::Outcome RollCallEditor::saveActions(const QString& name, bool macroCheck, const QString& macro,
                                           bool emailCheck, const QString& recipients) {
    if (name.trimmed().isEmpty()) return store::Outcome::refused(msg::kSelectRollCallName);
    if (!macroCheck && !emailCheck) return store::Outcome::refused(msg::kSelectAnAction);
    if (macroCheck && macro.trimmed().isEmpty()) return store::Outcome::refused(msg::kNoMacroChosen);
    if (emailCheck && recipients.trimmed().isEmpty()) return store::Outcome::refused(msg::kNoRecipient);
    if (const auto problem = rollCallNameProblem(name)) return store::Outcome::refused(*problem);
    try {
        store::Transaction transaction(m_main);
        m_main.run(QStringLiteral("DELETE FROM RollCallActions WHERE RollCall = ?"), {name});
        m_main.run(
            QStringLiteral(
                "INSERT INTO RollCallActions (RollCall, emailRecipients, MacrotoRun) VALUES (?, ?, ?)"),
            {name, emailCheck ? recipients.trimmed() : QString(QLatin1String("")),
             macroCheck ? macro.trimmed() : QString(QLatin1String(""))});
        transaction.commit();
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The actions could not be saved"), error);
    }
    return store::Outcome::done();
}

}  // namespace qv::devices
