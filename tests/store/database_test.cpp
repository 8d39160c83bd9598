// The connection itself: names in any letter case, quotes in names, raw
// messages as bytes, transactions, error reports and a clean close.

#include "store_fixture.h"

#include "store/database.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QtGlobal>
#include <stdexcept>

namespace qv::store::test {
namespace {

using ::testing::HasSubstr;

class DatabaseTest : public StoreTest {};

// Names are found whatever the letter case they are typed in.
struct NameColumn {
    DbKind kind;
    const char* table;
    const char* column;
};

void PrintTo(const NameColumn& c, std::ostream* out) {
    *out << c.table << '.' << c.column;
}

class CaseInsensitiveNameTest : public StoreTest, public ::testing::WithParamInterface<NameColumn> {};

TEST_P(CaseInsensitiveNameTest, OfficeIsFoundAsOffice) {
    const NameColumn& c = GetParam();
    Database db = Database::open(paths.pathOf(c.kind), c.kind);
    const QString table = QString::fromLatin1(c.table);
    const QString column = QString::fromLatin1(c.column);

    QSqlQuery insert =
        db.prepare(QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (?)").arg(table, column));
    insert.addBindValue(QStringLiteral("Office"));
    db.exec(insert);

    for (const QString& typed :
         {QStringLiteral("office"), QStringLiteral("OFFICE"), QStringLiteral("oFfIcE")}) {
        // The column named in another case as well, as the program's SQL does.
        QSqlQuery find = db.prepare(QStringLiteral("SELECT \"%2\" FROM \"%1\" WHERE \"%3\" = ?")
                                        .arg(table, column, column.toLower()));
        find.addBindValue(typed);
        db.exec(find);
        ASSERT_TRUE(find.next()) << typed.toStdString();
        EXPECT_EQ(find.value(0).toString(), QStringLiteral("Office"));
    }
}

INSTANTIATE_TEST_SUITE_P(NamesLookedUpByText, CaseInsensitiveNameTest,
                         ::testing::Values(NameColumn{DbKind::Main, "Macros", "Macro"},
                                           NameColumn{DbKind::Main, "MacroFolders", "MacroFolder"},
                                           NameColumn{DbKind::Main, "AreaNames", "AreaName"},
                                           NameColumn{DbKind::Main, "PresetNames", "PresetName"},
                                           NameColumn{DbKind::Main, "AreaChannels", "Channelname"},
                                           NameColumn{DbKind::Main, "Emails", "EmailName"},
                                           NameColumn{DbKind::Main, "CustomCodes", "CustomCodeName"},
                                           NameColumn{DbKind::Main, "Events", "EventName"},
                                           NameColumn{DbKind::Main, "MacrosDetails", "SubMacro"},
                                           NameColumn{DbKind::Main, "RollCallActions", "RollCall"},
                                           NameColumn{DbKind::Main, "LampFittings", "LampDescription"},
                                           NameColumn{DbKind::Main, "WMFFiles", "WMFFile"},
                                           NameColumn{DbKind::Main, "Sensors", "SensorDesc"},
                                           NameColumn{DbKind::MonitorLog, "EventLog", "Origin"},
                                           NameColumn{DbKind::RollCallTemplate, "RollCallResults",
                                                      "DeviceOpcode"}));

// Raw messages are stored as their eight bytes, zeros and 0xFF included.
struct RawField {
    const char* table;
    const char* column;
};

void PrintTo(const RawField& f, std::ostream* out) {
    *out << f.table << '.' << f.column;
}

class RawMessageTest : public StoreTest, public ::testing::WithParamInterface<RawField> {};

TEST_P(RawMessageTest, EightBytesRoundTrip) {
    const QByteArray message = QByteArray::fromHex("1C00FF0000FF0086");
    ASSERT_EQ(message.size(), 8);
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    const QString table = QString::fromLatin1(GetParam().table);
    const QString column = QString::fromLatin1(GetParam().column);

    QSqlQuery insert = db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(table, column));
    insert.addBindValue(message);
    db.exec(insert);

    QSqlQuery read =
        db.prepare(QStringLiteral("SELECT %2, typeof(%2), length(%2) FROM %1").arg(table, column));
    db.exec(read);
    ASSERT_TRUE(read.next());
    EXPECT_EQ(read.value(0).toByteArray(), message);
    EXPECT_EQ(read.value(1).toString(), QStringLiteral("blob"));
    EXPECT_EQ(read.value(2).toInt(), 8);
}

INSTANTIATE_TEST_SUITE_P(EveryRawField, RawMessageTest,
                         ::testing::Values(RawField{"Orvanet", "OrvanetRS232"},
                                           RawField{"CustomCodes", "CustomCodeRS232"},
                                           RawField{"CorvalinChannelLevels", "CorvalinRS232"}));

// Transactions.

int areaNameCount(Database& db) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT count(*) FROM AreaNames"));
    db.exec(query);
    return query.next() ? query.value(0).toInt() : -1;
}

void addAreaName(Database& db, int area, const QString& name) {
    QSqlQuery insert = db.prepare(QStringLiteral("INSERT INTO AreaNames (Area, AreaName) VALUES (?, ?)"));
    insert.addBindValue(area);
    insert.addBindValue(name);
    db.exec(insert);
}

TEST_F(DatabaseTest, TransactionRollsBackWhenAnExceptionLeavesItsScope) {
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    try {
        Transaction transaction(db);
        addAreaName(db, 1, QStringLiteral("Foyer"));
        addAreaName(db, 2, QStringLiteral("Hall"));
        throw std::runtime_error("interrupted");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(areaNameCount(db), 0);

    // The connection is usable afterwards: a new transaction commits.
    {
        Transaction transaction(db);
        addAreaName(db, 1, QStringLiteral("Foyer"));
        transaction.commit();
    }
    Database other = Database::open(paths.mainDb(), DbKind::Main);
    EXPECT_EQ(areaNameCount(other), 1);
}

// Errors name the file and carry the database's reason.

TEST_F(DatabaseTest, ErrorsNameTheFileAndTheDatabaseReason) {
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    try {
        db.prepare(QStringLiteral("SELECT NoSuchField FROM Macros"));
        FAIL() << "prepared a query on a missing field";
    } catch (const StoreError& error) {
        EXPECT_THAT(error.what(), HasSubstr(paths.mainDb().toStdString()));
        EXPECT_THAT(error.what(), HasSubstr("no such column"));
    }
    addAreaName(db, 3, QStringLiteral("Once"));
    try {
        addAreaName(db, 3, QStringLiteral("Twice"));
        FAIL() << "a duplicate key was accepted";
    } catch (const StoreError& error) {
        EXPECT_THAT(error.what(), HasSubstr("UNIQUE constraint failed"));
    }
}

TEST_F(DatabaseTest, ClosedDatabaseThrowsInsteadOfReturningNothing) {
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    db.close();
    EXPECT_FALSE(db.isOpen());
    EXPECT_THROW(db.prepare(QStringLiteral("SELECT 1")), StoreError);
    EXPECT_THROW(db.userVersion(), StoreError);
}

TEST_F(DatabaseTest, UnwritableFolderGivesAStoreError) {
    // A file where the folder should be: the folder cannot be created.
    writeFile(inDir(QStringLiteral("master")), "not a folder");
    EXPECT_THROW(Database::open(paths.mainDb(), DbKind::Main), StoreError);
}

// Closing.

QStringList g_messages;
void collectMessages(QtMsgType, const QMessageLogContext&, const QString& message) {
    g_messages << message;
}

TEST_F(DatabaseTest, ClosingAndMovingLeaveNoConnectionAndNoWarning) {
    const QStringList connectionsBefore = QSqlDatabase::connectionNames();
    g_messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectMessages);
    {
        Database db = Database::open(paths.mainDb(), DbKind::Main);
        addAreaName(db, 4, QStringLiteral("Kitchen"));
        QSqlQuery read = db.prepare(QStringLiteral("SELECT AreaName FROM AreaNames"));
        db.exec(read);
        ASSERT_TRUE(read.next());

        Database moved = std::move(db);
        EXPECT_FALSE(db.isOpen());
        EXPECT_EQ(areaNameCount(moved), 1);
        moved.close();
        moved.close();  // twice is harmless

        Database assigned = Database::open(paths.monitorLog(), DbKind::MonitorLog);
        assigned = Database::open(paths.sensorLog(), DbKind::SensorLog);  // closes the monitor log
    }
    qInstallMessageHandler(previous);

    EXPECT_EQ(QSqlDatabase::connectionNames(), connectionsBefore);
    for (const QString& message : g_messages)
        EXPECT_THAT(message.toStdString(), ::testing::Not(HasSubstr("still in use")));
}

TEST_F(DatabaseTest, TwoHandlesOnTheMainDatabaseSeeEachOthersWrites) {
    Database writer = Database::open(paths.mainDb(), DbKind::Main);
    Database reader = Database::open(paths.mainDb(), DbKind::Main);
    EXPECT_NE(writer.handle().connectionName(), reader.handle().connectionName());

    addAreaName(writer, 9, QStringLiteral("Plant room"));
    EXPECT_EQ(areaNameCount(reader), 1);
}

}  // namespace
}  // namespace qv::store::test
