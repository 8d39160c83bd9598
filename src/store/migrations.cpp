#include "store/migrations.h"

#include "store/database.h"
#include "store/log.h"
#include "store/schema.h"
#include "store/store_error.h"
#include "store/transaction.h"

namespace qv::store {

namespace {

// Append new steps at the end; never edit or renumber a released one.
constexpr Migration kMain[] = {
    {1, "base schema", &schema::createMainTables},
    {2, "Comms.portname", &schema::addCommsPortname},
    {3, "Config mail server", &schema::addConfigMailServer},
    {4, "calendar reminders", &schema::addCalendarReminders},
    {5, "keys never reused", &schema::makeKeysAutoincrement},
};
constexpr Migration kMonitorLog[] = {{1, "base schema", &schema::createMonitorLogTables},
                                     {2, "keys never reused", &schema::makeKeysAutoincrement}};
constexpr Migration kSensorLog[] = {{1, "base schema", &schema::createSensorLogTables},
                                    {2, "keys never reused", &schema::makeKeysAutoincrement}};
constexpr Migration kEnergyUsage[] = {{1, "base schema", &schema::createEnergyUsageTables},
                                      {2, "keys never reused", &schema::makeKeysAutoincrement}};
constexpr Migration kRollCall[] = {{1, "base schema", &schema::createRollCallTables},
                                   {2, "keys never reused", &schema::makeKeysAutoincrement}};
constexpr Migration kWinrights[] = {{1, "base schema", &schema::createWinrightsTables},
                                    {2, "keys never reused", &schema::makeKeysAutoincrement}};

}  // namespace

std::span<const Migration> migrationsFor(DbKind kind) {
    switch (kind) {
        case DbKind::Main:
            return kMain;
        case DbKind::MonitorLog:
            return kMonitorLog;
        case DbKind::SensorLog:
            return kSensorLog;
        case DbKind::EnergyUsage:
            return kEnergyUsage;
        case DbKind::RollCallTemplate:
            return kRollCall;
        case DbKind::Winrights:
            return kWinrights;
    }
    return {};
}

int latestVersion(DbKind kind) {
    const auto steps = migrationsFor(kind);
    return steps.empty() ? 0 : steps.back().version;
}

void applyMigrations(Database& db, std::span<const Migration> migrations) {
    const int latest = migrations.empty() ? 0 : migrations.back().version;
    const int current = db.userVersion();
    if (current > latest) {
        throw StoreError(db.path(),
                         QStringLiteral("was written by a newer version of Quorvel (schema version %1, "
                                        "this program knows up to %2); it was left untouched")
                             .arg(current)
                             .arg(latest));
    }
    for (const Migration& step : migrations) {
        if (step.version <= current) continue;
        Transaction transaction(db);
        // Another program may have opened the same new file a moment earlier and
        // applied this step while we waited for the write lock.
        if (db.userVersion() >= step.version) continue;
        step.apply(db);
        db.setUserVersion(step.version);
        transaction.commit();
        qCInfo(lcStore) << db.path() << "schema now at version" << step.version << "-" << step.summary;
    }
}

void upgradeSchema(Database& db) {
    applyMigrations(db, migrationsFor(db.kind()));
    if (db.kind() == DbKind::Main) {
        Transaction transaction(db);
        schema::ensureMacrosSortOrder(db);
        transaction.commit();
    }
}

}  // namespace qv::store
