// The calendar-reminder setting and table reach older main databases through
// a numbered migration that keeps their rows.

#include "schedule_fixture.h"
#include "store/migrations.h"

#include <gtest/gtest.h>
#include <QSqlDatabase>
#include <QSqlError>

namespace qv::schedule::test {
namespace {

TEST(ReminderStore, AnOlderDatabaseGetsThePathAndTheTableAndKeepsItsRows) {
    qv::test::qtApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const store::DataPaths paths{dir.path()};
    {
        // A database as the release before this step left it, with rows of its own.
        store::Database db = store::Database::open(paths.mainDb(), store::DbKind::Main);
        QSqlQuery q = db.prepare(QStringLiteral("UPDATE Config SET Latitude = ?, releaserate = ?"));
        q.addBindValue(-33.9);
        q.addBindValue(150);
        db.exec(q);
        QSqlQuery s =
            db.prepare(QStringLiteral("INSERT INTO Scheduler (Macro_ID, starttime) VALUES (7, '06:00')"));
        db.exec(s);
        db.close();
    }
    {
        const QString name = QStringLiteral("reminder-store-raw");
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            raw.setDatabaseName(paths.mainDb());
            ASSERT_TRUE(raw.open());
            QSqlQuery q(raw);
            ASSERT_TRUE(q.exec(QStringLiteral("DROP TABLE DismissedReminders")));
            ASSERT_TRUE(q.exec(QStringLiteral("ALTER TABLE Config DROP COLUMN ReminderCalendarPath")))
                << q.lastError().text().toStdString();
            ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA user_version = 3")));
            raw.close();
        }
        QSqlDatabase::removeDatabase(name);
    }

    store::Database db = store::Database::open(paths.mainDb(), store::DbKind::Main);
    EXPECT_EQ(db.userVersion(), store::latestVersion(store::DbKind::Main));
    store::ConfigSettings config = store::loadConfigSettings(db);
    EXPECT_TRUE(config.ReminderCalendarPath.isEmpty());
    EXPECT_DOUBLE_EQ(config.Latitude, -33.9);
    EXPECT_EQ(config.releaserate, 150);

    QSqlQuery set = db.prepare(QStringLiteral("UPDATE Config SET ReminderCalendarPath = ?"));
    set.addBindValue(QStringLiteral("/srv/calendars/o'brien \"site\".ics"));
    db.exec(set);
    EXPECT_EQ(store::loadConfigSettings(db).ReminderCalendarPath,
              QStringLiteral("/srv/calendars/o'brien \"site\".ics"));

    QSqlQuery rows = db.prepare(QStringLiteral("SELECT COUNT(*) FROM Scheduler"));
    db.exec(rows);
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.value(0).toInt(), 1);
    QSqlQuery dismissed =
        db.prepare(QStringLiteral("INSERT INTO DismissedReminders (ReminderKey, DismissedAt) VALUES (?, ?)"));
    dismissed.addBindValue(QStringLiteral("uid|2026-01-05T09:00:00Z"));
    dismissed.addBindValue(QStringLiteral("2026-01-05 08:45:00"));
    EXPECT_NO_THROW(db.exec(dismissed));
    db.close();
}

}  // namespace
}  // namespace qv::schedule::test
