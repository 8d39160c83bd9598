// Automatically numbered keys are never handed out twice: not in a new file,
// not in a file of an earlier version once it is upgraded, and not after the
// start-up compaction and backup. A row that referred to a deleted row keeps
// referring to nothing.

#include "maintenance_fixture.h"

#include "store/migrations.h"
#include "store/schema.h"

#include <QSqlQuery>

namespace qv::store::test {
namespace {

// The tables of a file whose key the database numbers.
QStringList keyedTables(const QSqlDatabase& db) {
    QStringList tables;
    QSqlQuery query(db);
    query.exec(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND sql LIKE "
                       "'%INTEGER PRIMARY KEY%' ORDER BY name"));
    while (query.next()) tables << query.value(0).toString();
    return tables;
}

// Turns a file made by this program back into one of an earlier version, as
// that version wrote it: keys without AUTOINCREMENT, and without the fields
// and tables later versions added.
void makeEarlierVersion(const QString& path, DbKind kind, int version) {
    Database::open(path, kind).close();
    RawDb raw(path);
    for (const QString& table : keyedTables(raw.db())) {
        const QString sql =
            raw.scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?"), {table})
                .toString()
                .replace(QStringLiteral(" AUTOINCREMENT"), QString());
        QStringList indexes;
        QSqlQuery query(raw.db());
        query.prepare(
            QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? "
                           "AND sql IS NOT NULL"));
        query.addBindValue(table);
        query.exec();
        while (query.next()) indexes << query.value(0).toString();
        raw.exec(QStringLiteral("ALTER TABLE \"%1\" RENAME TO old_table").arg(table));
        raw.exec(sql);
        raw.exec(QStringLiteral("INSERT INTO \"%1\" SELECT * FROM old_table").arg(table));
        raw.exec(QStringLiteral("DROP TABLE old_table"));
        for (const QString& index : indexes) raw.exec(index);
    }
    if (!keyedTables(raw.db()).isEmpty()) raw.exec(QStringLiteral("DELETE FROM sqlite_sequence"));
    if (kind == DbKind::Main) {
        if (version < 4) {
            raw.exec(QStringLiteral("DROP TABLE DismissedReminders"));
            raw.exec(QStringLiteral("ALTER TABLE Config DROP COLUMN ReminderCalendarPath"));
        }
        if (version < 3)
            for (const char* column :
                 {"mailhost", "mailport", "mailtls", "mailuser", "mailpassword", "mailsender"})
                raw.exec(QStringLiteral("ALTER TABLE Config DROP COLUMN %1").arg(QLatin1String(column)));
        if (version < 2) raw.exec(QStringLiteral("ALTER TABLE Comms DROP COLUMN portname"));
    }
    raw.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

struct EarlierFile {
    DbKind kind;
    int version;
};

void PrintTo(const EarlierFile& f, std::ostream* out) {
    *out << dbKindName(f.kind).toStdString() << " v" << f.version;
}

class EarlierVersionKeysTest : public StoreTest, public ::testing::WithParamInterface<EarlierFile> {};

// Every keyed table: three rows, then the upgrade, which keeps them and their
// keys; then the newest is deleted and the next row does not get its number.
TEST_P(EarlierVersionKeysTest, UpgradeKeepsEveryRowAndNeverReusesAKey) {
    const QString path = paths.pathOf(GetParam().kind);
    QDir().mkpath(QFileInfo(path).absolutePath());
    makeEarlierVersion(path, GetParam().kind, GetParam().version);
    QStringList tables;
    std::map<QString, int> rowsBefore;
    {
        RawDb raw(path);
        tables = keyedTables(raw.db());
        ASSERT_FALSE(tables.isEmpty());
        for (const QString& table : tables) {
            rowsBefore[table] = raw.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toInt();
            for (int i = 0; i < 3; ++i)
                raw.exec(QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(table));
        }
    }
    const QString indexesBefore =
        RawDb(path)
            .scalar(QStringLiteral("SELECT group_concat(name) FROM (SELECT name FROM "
                                   "sqlite_master WHERE type = 'index' ORDER BY name)"))
            .toString();

    Database::open(path, GetParam().kind).close();

    RawDb raw(path);
    EXPECT_EQ(raw.scalar(QStringLiteral("PRAGMA user_version")).toInt(), latestVersion(GetParam().kind));
    EXPECT_EQ(keyedTables(raw.db()), tables);
    const QString indexesAfter =
        raw.scalar(QStringLiteral("SELECT group_concat(name) FROM (SELECT name FROM "
                                  "sqlite_master WHERE type = 'index' ORDER BY name)"))
            .toString();
    for (const QString& index : indexesBefore.split(QLatin1Char(','), Qt::SkipEmptyParts))
        EXPECT_TRUE(indexesAfter.split(QLatin1Char(',')).contains(index)) << index.toStdString();
    for (const QString& table : tables) {
        SCOPED_TRACE(table.toStdString());
        const int kept = rowsBefore[table] + 3;
        EXPECT_EQ(raw.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toInt(), kept);
        EXPECT_EQ(raw.scalar(QStringLiteral("SELECT max(rowid) FROM \"%1\"").arg(table)).toInt(), kept);
        raw.exec(QStringLiteral("DELETE FROM \"%1\" WHERE rowid = ?").arg(table), {kept});
        EXPECT_THAT(raw.scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?"), {table})
                        .toString()
                        .toStdString(),
                    ::testing::HasSubstr("AUTOINCREMENT"));
        raw.exec(QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(table));
        EXPECT_EQ(raw.scalar(QStringLiteral("SELECT max(rowid) FROM \"%1\"").arg(table)).toInt(), kept + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryEarlierVersion, EarlierVersionKeysTest,
                         ::testing::Values(EarlierFile{DbKind::Main, 1}, EarlierFile{DbKind::Main, 4},
                                           EarlierFile{DbKind::MonitorLog, 1},
                                           EarlierFile{DbKind::SensorLog,
                                                       1}));  // the other files have no numbered keys

// What a user does: deletes the newest macro, e-mail, custom code, light-box
// level, plan-view node and schedule, creates new ones, also after a restart
// with its compaction and backup. No number comes back, and an event of the
// deleted macro finds no macro to start.
class DeletedKeysTest : public MaintenanceTest {
protected:
    struct Kind {
        const char* table;
        const char* key;
        const char* nameField;
    };
    static constexpr Kind kKinds[] = {{"Macros", "Macro_ID", "Macro"},
                                      {"Emails", "Email_ID", "EmailName"},
                                      {"CustomCodes", "CustomCode_ID", "CustomCodeName"},
                                      {"CorvalinChannelLevels", "CorvalinChannelLevel_ID", "ChannelLevel"},
                                      {"TreeView", "TreeView_ID", "Label"},
                                      {"Scheduler", "Scheduler_ID", "starttime"}};

    static qint64 create(Database& db, const Kind& kind, const QVariant& name) {
        QSqlQuery insert = db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)")
                                          .arg(QLatin1String(kind.table), QLatin1String(kind.nameField)));
        insert.addBindValue(name);
        db.exec(insert);
        return insert.lastInsertId().toLongLong();
    }
    static void remove(Database& db, const Kind& kind, qint64 key) {
        QSqlQuery drop = db.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                                        .arg(QLatin1String(kind.table), QLatin1String(kind.key)));
        drop.addBindValue(key);
        db.exec(drop);
    }
};

TEST_F(DeletedKeysTest, NoKeyComesBackAndTheOrphanedEventStartsNothing) {
    makeDatabase(paths.mainDb(), DbKind::Main, QStringLiteral("site"));
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log"));
    std::map<QString, qint64> deleted;
    {
        Database db = Database::open(paths.mainDb(), DbKind::Main);
        for (const Kind& kind : kKinds) {
            create(db, kind, 1);
            deleted[kind.table] = create(db, kind, 2);
            remove(db, kind, deleted[kind.table]);
        }
        QSqlQuery event = db.prepare(QStringLiteral(
            "INSERT INTO Events (EventName, Area, Preset, Macro_ID) VALUES ('Lobby', 3, 1, ?)"));
        event.addBindValue(deleted["Macros"]);
        db.exec(event);
        for (const Kind& kind : kKinds) EXPECT_GT(create(db, kind, 3), deleted[kind.table]) << kind.table;
        for (const Kind& kind : kKinds)
            remove(db, kind, deleted[kind.table] + 1);  // the newest again, before the restart
    }

    ASSERT_TRUE(run().canStart());  // the restart: compaction and today's backup
    for (const QString& file : {paths.mainDb(), mainFiles().backupPath(QStringLiteral("Mon"))}) {
        SCOPED_TRACE(file.toStdString());
        QFile::copy(file, file + QStringLiteral(".probe"));
        Database db = Database::open(file + QStringLiteral(".probe"), DbKind::Main);
        for (const Kind& kind : kKinds) EXPECT_GT(create(db, kind, 4), deleted[kind.table] + 1) << kind.table;
        // The join the area-preset events are loaded with.
        QSqlQuery events = db.prepare(QStringLiteral(
            "SELECT Macros.Macro FROM Macros INNER JOIN Events ON Macros.Macro_ID = Events.Macro_ID"));
        db.exec(events);
        EXPECT_FALSE(events.next());
    }
}

}  // namespace
}  // namespace qv::store::test
