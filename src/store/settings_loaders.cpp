#include "store/settings_loaders.h"

#include "store/database.h"
#include "store/field_values.h"
#include "store/log.h"

#include <QSqlRecord>

namespace qv::store {

namespace {

// The row, or an empty record when the table has none (the defaults then stand).
QSqlRecord singleRow(Database& main, const QString& sql, const char* table) {
    QSqlQuery query = main.run(sql);
    if (!query.next()) {
        qCInfo(lcStore) << main.path() << "has no" << table << "row; using defaults";
        return {};
    }
    QSqlRecord row = query.record();
    if (query.next())
        qCWarning(lcStore) << main.path() << "has more than one" << table << "row; using the first";
    return row;
}

}  // namespace

CommsSettings loadCommsSettings(Database& main) {
    CommsSettings s;
    const QSqlRecord row =
        singleRow(main,
                  QStringLiteral("SELECT useTCP, hostname, secondaryhostname, comport, portname, "
                                 "USB, USBdelay, baud1, parity1, databits1, stopbits1 "
                                 "FROM Comms ORDER BY rowid"),
                  "Comms");
    if (row.isEmpty()) return s;
    s.useTCP = yesNoOr(row.value(0), s.useTCP);
    s.hostname = textOr(row.value(1), s.hostname);
    s.secondaryhostname = textOr(row.value(2), s.secondaryhostname);
    s.comport = intOr(row.value(3), s.comport);
    s.portname = textOr(row.value(4), s.portname);
    s.USB = yesNoOr(row.value(5), s.USB);
    s.usbdelay = intOr(row.value(6), s.usbdelay);
    s.baud1 = textOr(row.value(7), s.baud1);
    s.parity1 = textOr(row.value(8), s.parity1);
    s.databits1 = intOr(row.value(9), s.databits1);
    s.stopbits1 = textOr(row.value(10), s.stopbits1);
    return s;
}

ConfigSettings loadConfigSettings(Database& main) {
    ConfigSettings s;
    const QSqlRecord row = singleRow(main, QStringLiteral("SELECT * FROM Config ORDER BY rowid"), "Config");
    if (row.isEmpty()) return s;
    // Fields are looked up by name (without regard to case), as older files may
    // hold them in another order.
    const auto yesNo = [&row](const char* name, bool& field) {
        field = yesNoOr(row.value(QLatin1String(name)), field);
    };
    const auto number = [&row](const char* name, int& field) {
        field = intOr(row.value(QLatin1String(name)), field);
    };
    const auto real = [&row](const char* name, double& field) {
        field = realOr(row.value(QLatin1String(name)), field);
    };
    const auto text = [&row](const char* name, QString& field) {
        field = textOr(row.value(QLatin1String(name)), field);
    };

    yesNo("areanames", s.areanames);
    yesNo("lightlevels", s.lightlevels);
    yesNo("events", s.events);
    yesNo("scheduler", s.scheduler);
    yesNo("email", s.email);
    yesNo("customcode", s.customcode);
    yesNo("ddeability", s.ddeability);
    yesNo("corvalin", s.corvalin);
    yesNo("rollcall", s.rollcall);
    yesNo("macros", s.macros);
    yesNo("directcontrol", s.directcontrol);
    yesNo("plan", s.plan);
    yesNo("monitor", s.monitor);
    yesNo("sensorlog", s.sensorlog);
    yesNo("macrosrunning", s.macrosrunning);
    yesNo("macroorvanet", s.macroorvanet);
    yesNo("macrowavfiles", s.macrowavfiles);
    yesNo("macroemail", s.macroemail);
    yesNo("macrocustomcodes", s.macrocustomcodes);
    yesNo("macrorunmacros", s.macrorunmacros);
    yesNo("macrocancelmacros", s.macrocancelmacros);
    yesNo("macrocorvalin", s.macrocorvalin);
    yesNo("macrorollcall", s.macrorollcall);
    yesNo("macroorvanetchannels", s.macroorvanetchannels);
    yesNo("editbuttons", s.editbuttons);

    yesNo("enablemonitorlog", s.enablemonitorlog);
    yesNo("enablesensorlog", s.enablesensorlog);
    yesNo("enableenergyusage", s.enableenergyusage);
    yesNo("donotallowshutdown", s.donotallowshutdown);
    yesNo("UserCanSaveLightingPresets", s.UserCanSaveLightingPresets);
    yesNo("UserCanSeekchannels", s.UserCanSeekchannels);
    yesNo("DayLightSaving", s.DayLightSaving);

    number("buttonversion", s.buttonversion);
    number("MonitorLogMaxRecords", s.MonitorLogMaxRecords);
    number("LoadFromMonitorLog", s.LoadFromMonitorLog);
    number("SensorLogMaxRecords", s.SensorLogMaxRecords);
    real("Latitude", s.Latitude);
    real("Longitude", s.Longitude);
    real("Timezone", s.Timezone);
    number("releaserate", s.releaserate);

    text("mailhost", s.mailhost);
    number("mailport", s.mailport);
    text("mailtls", s.mailtls);
    text("mailuser", s.mailuser);
    text("mailpassword", s.mailpassword);
    text("mailsender", s.mailsender);
    text("ReminderCalendarPath", s.ReminderCalendarPath);
    return s;
}

}  // namespace qv::store
