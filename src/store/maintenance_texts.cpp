#include "store/maintenance_texts.h"

namespace qv::store {

namespace {

const QString kCannotContinue = QStringLiteral(
    "\r\nUnfortunately Quorvel can not continue loading. You will need to check if Quorvel has been properly "
    "installed?");

}  // namespace

const MaintenanceTexts& mainDatabaseTexts() {
    static const MaintenanceTexts texts{
        QStringLiteral("Deleted Compact_quorvel (or it did not exist)"),
        QStringLiteral("### Failed to delete Compact_quorvel  Error%1"),
        QStringLiteral("Quorvel.db exists "),
        QStringLiteral("Quorvel.db was compacted successfully to Compact_Quorvel.db "),
        QStringLiteral("Deleted Quorvel.db "),
        QStringLiteral("### Could not delete Backup_quorvel%1.db   it was not found"),
        QStringLiteral("Deleted Backup_Quorvel%1.db"),
        QStringLiteral("### Could not delete Backup_Quorvel%1.db   error %2"),
        QStringLiteral("Compact_Quorvel.db was renamed as Quorvel.db "),
        QStringLiteral("#### Could not rename Compact_Quorvel.db as Quorvel.db error %1; Quorvel.db is kept "
                       "uncompacted"),
        QStringLiteral("Quorvel.db was copied to Backup_Quorvel%1.db"),
        QStringLiteral("#### Could not copy Quorvel.db to Backup_Quorvel%1.db error %2"),
        QStringLiteral("#### There were errors during compaction of quorvel.db "),
        QStringLiteral("#### quorvel.db itself passed its check: it is kept uncompacted and not backed up "
                       "this time"),
        QStringLiteral("Kept bad copy of quorvel.db as %1 "),
        QStringLiteral("#### Could not set aside bad copy of quorvel.db   error %1"),
        QStringLiteral(
            "#### #### The bad quorvel.db was left in place: it is not replaced while it can not be "
            "kept"),
        QStringLiteral("### Backup_quorvel%1.db can not be used: %2"),
        QStringLiteral("Successfully copied Backup_quorvel%1.db back to quorvel.db "),
        QStringLiteral("#### Could not copy Backup_quorvel%1.db back to quorvel.db error %2"),
        QStringLiteral("#### #### Another error %1 has occurred! Copy a Newquorvel.db instead... "),
        QStringLiteral("#### #### No Quorvel.db was found! Reverting to a previous backup instead... "),
        QStringLiteral("Created the blank template Newquorvel.db"),
        QStringLiteral("#### Could not create the blank template Newquorvel.db: %1"),
        QStringLiteral("### Newquorvel.db can not be used; kept as %1 and made again"),
        QStringLiteral(
            "#### #### Could not copy in a blank database. Quorvel will not start successfully... "),
        QStringLiteral("Quorvel could not locate the Master Database, backup databases or the blank template "
                       "database with which to open.") +
            kCannotContinue,
    };
    return texts;
}

const MaintenanceTexts& monitorLogTexts() {
    static const MaintenanceTexts texts{
        QStringLiteral("Deleted Compact_Monitorlog (or it did not exist)"),
        QStringLiteral("### Failed to delete Compact_Monitorlog  Error%1"),
        QStringLiteral("MonitorLog.db exists "),
        QStringLiteral("MonitorLog.db was compacted successfully to Compact_MonitorLog.db "),
        QStringLiteral("Deleted MonitorLog.db "),
        QStringLiteral("### Could not delete Backup_MonitorLog%1.db   it was not found"),
        QStringLiteral("Deleted Backup_MonitorLog%1.db"),
        QStringLiteral("### Could not delete Backup_MonitorLog%1.db   error %2"),
        QStringLiteral("Compact_MonitorLog.db was renamed as MonitorLog.db "),
        QStringLiteral(
            "#### Could not rename Compact_MonitorLog.db as MonitorLog.db error %1; MonitorLog.db is "
            "kept uncompacted"),
        QStringLiteral("MonitorLog.db was copied to Backup_MonitorLog%1.db"),
        QStringLiteral("#### Could not copy MonitorLog.db to Backup_MonitorLog%1.db error %2"),
        QStringLiteral("#### There were errors during compaction of MonitorLog.db "),
        QStringLiteral("#### MonitorLog.db itself passed its check: it is kept uncompacted and not backed up "
                       "this time"),
        QStringLiteral("Kept bad copy of MonitorLog.db as %1 "),
        QStringLiteral("#### Could not set aside bad copy of MonitorLog.db   error %1"),
        QStringLiteral(
            "#### #### The bad MonitorLog.db was left in place: it is not replaced while it can not "
            "be kept"),
        QStringLiteral("### Backup_MonitorLog%1.db can not be used: %2"),
        QStringLiteral("Successfully copied Backup_MonitorLog%1.db back to MonitorLog.db "),
        QStringLiteral("#### Could not copy Backup_MonitorLog%1.db back to MonitorLog.db error %2"),
        QStringLiteral("#### #### Another error %1 has occurred! Copy a NewMonitorLog.db instead... "),
        QStringLiteral("#### #### No MonitorLog.db was found! Reverting to a previous backup instead... "),
        QStringLiteral("Created the blank template NewMonitorLog.db"),
        QStringLiteral("#### Could not create the blank template NewMonitorLog.db: %1"),
        QStringLiteral("### NewMonitorLog.db can not be used; kept as %1 and made again"),
        QStringLiteral("#### #### Could not copy in a blank Logging database. Quorvel will not start "
                       "successfully... "),
        QStringLiteral("Quorvel could not locate the Master Logging Database, backup databases or the blank "
                       "template database with which to open.") +
            kCannotContinue,
    };
    return texts;
}

}  // namespace qv::store
