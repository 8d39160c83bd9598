#include "shell/config/settings_writer.h"

#include "shell/config/password.h"
#include "store/database.h"
#include "store/transaction.h"

#include <QStringList>
#include <utility>
#include <vector>

namespace qv::config {

namespace {

using Field = std::pair<const char*, QVariant>;

// A switch as stored: 1 on, 0 off.
QVariant flag(bool on) {
    return on ? 1 : 0;
}

std::vector<Field> configFields(const store::ConfigSettings& c) {
    return {
        {"areanames", flag(c.areanames)},
        {"lightlevels", flag(c.lightlevels)},
        {"events", flag(c.events)},
        {"scheduler", flag(c.scheduler)},
        {"email", flag(c.email)},
        {"customcode", flag(c.customcode)},
        {"ddeability", flag(c.ddeability)},
        {"corvalin", flag(c.corvalin)},
        {"rollcall", flag(c.rollcall)},
        {"macros", flag(c.macros)},
        {"directcontrol", flag(c.directcontrol)},
        {"plan", flag(c.plan)},
        {"monitor", flag(c.monitor)},
        {"sensorlog", flag(c.sensorlog)},
        {"macrosrunning", flag(c.macrosrunning)},
        {"macroorvanet", flag(c.macroorvanet)},
        {"macrowavfiles", flag(c.macrowavfiles)},
        {"macroemail", flag(c.macroemail)},
        {"macrocustomcodes", flag(c.macrocustomcodes)},
        {"macrorunmacros", flag(c.macrorunmacros)},
        {"macrocancelmacros", flag(c.macrocancelmacros)},
        {"macrocorvalin", flag(c.macrocorvalin)},
        {"macrorollcall", flag(c.macrorollcall)},
        {"macroorvanetchannels", flag(c.macroorvanetchannels)},
        {"editbuttons", flag(c.editbuttons)},
        {"enablemonitorlog", flag(c.enablemonitorlog)},
        {"enablesensorlog", flag(c.enablesensorlog)},
        {"enableenergyusage", flag(c.enableenergyusage)},
        {"donotallowshutdown", flag(c.donotallowshutdown)},
        {"UserCanSaveLightingPresets", flag(c.UserCanSaveLightingPresets)},
        {"UserCanSeekchannels", flag(c.UserCanSeekchannels)},
        {"buttonversion", c.buttonversion},
        {"MonitorLogMaxRecords", c.MonitorLogMaxRecords},
        {"LoadFromMonitorLog", c.LoadFromMonitorLog},
        {"SensorLogMaxRecords", c.SensorLogMaxRecords},
        {"Latitude", c.Latitude},
        {"Longitude", c.Longitude},
        {"Timezone", c.Timezone},
        {"releaserate", c.releaserate},
    };
}

// An empty text is stored as none, as a fresh database has it.
QVariant text(const QString& value) {
    return value.isEmpty() ? QVariant() : QVariant(value);
}

std::vector<Field> mailFields(const store::ConfigSettings& c) {
    return {
        {"mailhost", text(c.mailhost)},
        {"mailport", c.mailport},
        {"mailtls", text(c.mailtls)},
        {"mailuser", text(c.mailuser)},
        {"mailpassword", text(c.mailpassword)},
        {"mailsender", text(c.mailsender)},
        {"ReminderCalendarPath", text(c.ReminderCalendarPath)},
    };
}

std::vector<Field> commsFields(const store::CommsSettings& c) {
    return {
        {"useTCP", flag(c.useTCP)}, {"comport", c.comport},
        {"hostname", c.hostname},   {"secondaryhostname", c.secondaryhostname},
        {"USB", flag(c.USB)},       {"USBdelay", c.usbdelay},
        {"baud1", c.baud1},         {"databits1", c.databits1},
        {"parity1", c.parity1},     {"stopbits1", c.stopbits1},
    };
}

// Updates the table's first row, or adds one when it has none. Field names
// are ours; every value is bound.
void writeSingleRow(store::Database& main, const QString& table, const std::vector<Field>& fields,
                    const std::vector<Field>& insertOnly) {
    QStringList assignments;
    for (const Field& field : fields) assignments << QStringLiteral("%1 = ?").arg(QLatin1String(field.first));
    QSqlQuery update =
        main.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = (SELECT MIN(rowid) FROM %1)")
                         .arg(table, assignments.join(QStringLiteral(", "))));
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) update.bindValue(i, fields[i].second);
    main.exec(update);
    if (update.numRowsAffected() > 0) return;

    std::vector<Field> all = fields;
    all.insert(all.end(), insertOnly.begin(), insertOnly.end());
    QStringList names, marks;
    for (const Field& field : all) {
        names << QLatin1String(field.first);
        marks << QStringLiteral("?");
    }
    QSqlQuery insert =
        main.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    for (int i = 0; i < static_cast<int>(all.size()); ++i) insert.bindValue(i, all[i].second);
    main.exec(insert);
}

}  // namespace

void storeSettings(store::Database& main, const Settings& settings,
                   const std::optional<QString>& newPasswordHash, ExtraFields extra) {
    // Hash the legacy plain passwords before taking the write lock: hashing
    // takes a noticeable moment.
    std::vector<std::pair<qint64, QString>> rehashed;
    if (!newPasswordHash) {
        for (const StoredPassword& row : readStoredPasswords(main))
            if (!row.value.trimmed().isEmpty() && !isPasswordHash(row.value))
                rehashed.emplace_back(row.rowid, hashPassword(row.value));
    }

    store::Transaction transaction(main);
    if (newPasswordHash) {
        main.exec(QStringLiteral("DELETE FROM Password"));
        QSqlQuery insert = main.prepare(QStringLiteral("INSERT INTO Password (Password) VALUES (?)"));
        insert.bindValue(0, *newPasswordHash);
        main.exec(insert);
    } else {
        QSqlQuery update = main.prepare(QStringLiteral("UPDATE Password SET Password = ? WHERE rowid = ?"));
        for (const auto& [rowid, hash] : rehashed) {
            update.bindValue(0, hash);
            update.bindValue(1, rowid);
            main.exec(update);
        }
    }
    const bool withExtras = extra == ExtraFields::MailAndDevice;
    std::vector<Field> config = configFields(settings.config);
    std::vector<Field> configInsertOnly = {{"DayLightSaving", flag(settings.config.DayLightSaving)}};
    std::vector<Field>& mailGoes = withExtras ? config : configInsertOnly;
    const std::vector<Field> mail = mailFields(settings.config);
    mailGoes.insert(mailGoes.end(), mail.begin(), mail.end());
    writeSingleRow(main, QStringLiteral("Config"), config, configInsertOnly);
    std::vector<Field> comms = commsFields(settings.comms);
    std::vector<Field> commsInsertOnly;
    const Field portname{"portname",
                         settings.comms.portname.isEmpty() ? QVariant() : QVariant(settings.comms.portname)};
    (withExtras ? comms : commsInsertOnly).push_back(portname);
    writeSingleRow(main, QStringLiteral("Comms"), comms, commsInsertOnly);
    transaction.commit();
}

}  // namespace qv::config
