#include "features/devices/roll_call_results.h"

#include "store/date_text.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QFile>
#include <QSqlQuery>

namespace qv::devices {

std::vector<RollCallMember> readRollCallMembers(store::Database& main, const QString& name) {
    QSqlQuery q = main.run(
        QStringLiteral(
            "SELECT r.RollCallName, r.Device_ID, r.Boxnumber, t.DeviceOpCode, t.Device, d.Description "
            "FROM (RollCall r INNER JOIN DeviceTypes t ON r.Device_ID = t.Device_ID) "
            "INNER JOIN DevicesInstalled d ON r.Device_ID = d.Device_ID AND r.Boxnumber = d.BoxNumber "
            "WHERE r.RollCallName = ? ORDER BY r.rowid, d.rowid"),
        {name});
    std::vector<RollCallMember> members;
    while (q.next()) {
        members.push_back({q.value(0).toString(), q.value(1).toInt(), q.value(2).toInt(),
                           q.value(3).toString(), q.value(4).toString(), q.value(5).toString()});
    }
    return members;
}

std::optional<RollCallActionsRow> readRollCallActions(store::Database& main, const QString& name) {
    QSqlQuery q = main.run(
        QStringLiteral("SELECT emailRecipients, MacrotoRun FROM RollCallActions WHERE RollCall = ? LIMIT 1"),
        {name});
    if (!q.next()) return std::nullopt;
    return RollCallActionsRow{q.value(0).toString(), q.value(1).toString()};
}

store::Database createResultsFile(const store::DataPaths& paths, const QString& path, bool* templateMissing) {
    // An earlier run's journal must go with it, or SQLite would replay it
    // into the fresh copy.
    for (const QString& old : {path, path + QStringLiteral("-journal")}) {
        if (QFile::exists(old) && !QFile::remove(old))
            throw store::StoreError(old, QStringLiteral("cannot be replaced (in use or read-only?)"),
                                    QString());
    }
    const QString templatePath = paths.rollCallTemplate();
    const bool haveTemplate = QFile::exists(templatePath);
    if (templateMissing) *templateMissing = !haveTemplate;
    if (haveTemplate && !QFile::copy(templatePath, path))
        throw store::StoreError(path, QStringLiteral("cannot be made from %1").arg(templatePath), QString());
    // Opening completes the results table of an old or blank file.
    return store::Database::open(path, store::DbKind::RollCallTemplate);
}

void writeResultsRows(store::Database& results, const std::vector<RollCallMember>& members) {
    store::Transaction transaction(results);
    QSqlQuery insert =
        results.prepare(QStringLiteral("INSERT INTO RollCallResults (RollCallName, Device, DeviceOpcode, "
                                       "BoxNumber, Description, VersionReturned, "
                                       "Responded) VALUES (?, ?, ?, ?, ?, ' ', 0)"));
    for (const RollCallMember& m : members) {
        insert.bindValue(0, m.rollCallName);
        insert.bindValue(1, m.device);
        insert.bindValue(2, m.deviceCode);
        insert.bindValue(3, QString::number(m.box));
        insert.bindValue(4, m.description);
        results.exec(insert);
    }
    transaction.commit();
}

int markResponded(store::Database& results, const QString& deviceCode, int box, const QString& version,
                  const QDateTime& when) {
    store::Transaction transaction(results);
    QSqlQuery update = results.run(
        QStringLiteral("UPDATE RollCallResults SET VersionReturned = ?, Responded = 1, TimeStamp = ? "
                       "WHERE DeviceOpcode = ? AND BoxNumber = ?"),
        {version, store::dateTimeText(when), deviceCode, QString::number(box)});
    const int changed = update.numRowsAffected();
    transaction.commit();
    return changed;
}

int countNotResponded(store::Database& results) {
    return results.value(QStringLiteral("SELECT count(*) FROM RollCallResults WHERE Responded = 0")).toInt();
}

}  // namespace qv::devices
