#pragma once
// Shared set-up for the monitor-log tests: a MonitorLog on a temporary data
// directory with a hand-driven clock, and a second connection that
// sees only what has been committed.

#include "store_fixture.h"

#include "net/labels.h"
#include "store/monitor_log.h"
#include "store/transaction.h"
#include "support/manual_clock.h"
#include "support/qt_support.h"

#include <QFileInfo>

#include <memory>

namespace qv::store::test {

inline MonitorRecord monitorRecord(const QString& type, const QString& comment = {}, const QString& area = {},
                                   const QString& preset = {}, const QString& channel = {},
                                   const QString& level = {}) {
    MonitorRecord r;
    r.MsgType = type;
    r.RS232 = QStringLiteral("1C 05 32 00 00 00 FF AE");
    r.Macro = QStringLiteral("Evening");
    r.DateTime = QStringLiteral("2024-05-13 08:15:42");
    r.comment = comment;
    r.area = area;
    r.Preset = preset;
    r.channel = channel;
    r.ChannelLevel = level;
    return r;
}

class MonitorLogTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        qv::test::qtApp();
        names.setAreaName(5, "Office");
        names.setPresetName(5, 3, "Bright");
        names.setChannelName(5, 2, "Downlights");
    }

    // A log whose commit timing follows `clock`.
    std::unique_ptr<MonitorLog> makeLog() {
        return std::make_unique<MonitorLog>(MonitorLogDeps{paths.monitorLog(), &names, clock});
    }

    // Committed EventLog rows, seen from a connection of its own.
    int committedCount() {
        if (!QFileInfo(paths.monitorLog()).isFile()) return 0;
        RawDb raw(paths.monitorLog());
        // The writer may be creating the file at this moment.
        if (!raw.db().tables().contains(QStringLiteral("EventLog"))) return 0;
        return raw.scalar(QStringLiteral("SELECT count(*) FROM EventLog")).toInt();
    }

    // Fills the log directly, `count` records with comments "old 1".."old N".
    void fillLog(int count) {
        Database log = Database::open(paths.monitorLog(), DbKind::MonitorLog);
        Transaction transaction(log);
        QSqlQuery insert = log.prepare(QStringLiteral(
            "INSERT INTO EventLog (Origin, TimeDateStamp, Comments, Area) VALUES (?, ?, ?, ?)"));
        for (int i = 1; i <= count; ++i) {
            insert.bindValue(0, QStringLiteral("Comms"));
            insert.bindValue(1, QStringLiteral("2024-05-12 10:00:00"));
            insert.bindValue(2, QStringLiteral("old %1").arg(i));
            insert.bindValue(3, i % 256);
            log.exec(insert);
        }
        transaction.commit();
    }

    net::NameTables names;
    qv::test::ManualClock clock{QDateTime(QDate(2024, 5, 13), QTime(9, 0, 0))};
};

}  // namespace qv::store::test
