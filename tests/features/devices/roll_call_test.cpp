// Roll calls against the simulated network on a manual clock.

#include "roll_call_fixture.h"

#include "features/devices/roll_call_name.h"

#include <QDir>
#include <QFile>

namespace qv::devices {
namespace {

using test::RollCallTest;

struct ResultRow {
    QString box;
    QString version;
    int responded;
    QString timeStamp;
    bool operator==(const ResultRow&) const = default;
};

std::vector<ResultRow> resultsOf(const QString& path) {
    store::Database db = store::Database::open(path, store::DbKind::RollCallTemplate);
    QSqlQuery q = db.prepare(QStringLiteral(
        "SELECT BoxNumber, VersionReturned, Responded, TimeStamp FROM RollCallResults ORDER BY rowid"));
    db.exec(q);
    std::vector<ResultRow> rows;
    while (q.next())
        rows.push_back(
            {q.value(0).toString(), q.value(1).toString(), q.value(2).toInt(), q.value(3).toString()});
    return rows;
}

TEST_F(RollCallTest, ThreeDevicesOneSilentAskedThreeTimesThenMailAndMacro) {
    addMember("Lobby", 1, 18);
    addMember("Lobby", 1, 7);
    addMember("Lobby", 2, 5);
    addActions("Lobby", "ops@example.com", "Alarm");
    makeRunner();
    QStringList started;
    QObject::connect(runner.get(), &RollCallRunner::started,
                     [&](const QString& name) { started.append(name); });

    ASSERT_TRUE(runner->RollCall("Lobby").ok);
    EXPECT_EQ(started, QStringList{"Lobby"});
    EXPECT_EQ(runner->Rollcalllistbox(), QStringList{"Lobby"});
    const RollCallProgressModel& grid = runner->grid();
    ASSERT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.index(0, RollCallProgressModel::TriesColumn).data().toString(), "3");

    clock.advance(1000);  // one pass: every device asked once, two answered
    EXPECT_EQ(grid.index(0, RollCallProgressModel::VersionColumn).data().toString(), "1.4");
    EXPECT_EQ(grid.index(1, RollCallProgressModel::VersionColumn).data().toString(), "");
    EXPECT_EQ(grid.index(2, RollCallProgressModel::VersionColumn).data().toString(), "2.B");
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(grid.index(row, RollCallProgressModel::TriesColumn).data().toString(), "2");
    // Box 18 goes out as 12 and is shown as 18.
    EXPECT_EQ(net::toHex(wire->sent.front()), "5C 20 12 80 00 00 00 F2");
    EXPECT_EQ(grid.index(0, RollCallProgressModel::BoxColumn).data().toString(), "18");
    EXPECT_EQ(grid.index(0, RollCallProgressModel::CodeColumn).data().toString(), "20");

    clock.advance(5000);
    EXPECT_EQ(requestsTo(0x20, 7), 3);
    EXPECT_EQ(requestsTo(0x20, 18), 1);
    EXPECT_EQ(requestsTo(0x30, 5), 1);
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(runner->isRunning());

    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].recipients, "ops@example.com");
    EXPECT_EQ(mails[0].subject, "Lobby had 1 boxes not respond");
    EXPECT_EQ(mails[0].body, "");
    EXPECT_EQ(mails[0].attachment, QDir(paths.dir).filePath("Lobby.db"));
    EXPECT_EQ(macros.ran, QStringList{"Alarm"});

    EXPECT_EQ(resultsOf(mails[0].attachment),
              (std::vector<ResultRow>{{"18", "1.4", 1, "2024-03-14 09:00:00"},
                                      {"7", " ", 0, ""},
                                      {"5", "2.B", 1, "2024-03-14 09:00:00"}}));
    EXPECT_EQ(grid.rowCount(), 0);
    EXPECT_TRUE(runner->Rollcalllistbox().isEmpty());
}

TEST_F(RollCallTest, WhenAllAnswerThereIsNoMailAndNoMacro) {
    addMember("Lobby", 1, 18);
    addMember("Lobby", 2, 5);
    addActions("Lobby", "ops@example.com", "Alarm");
    makeRunner();
    ASSERT_TRUE(runner->RollCall("Lobby").ok);
    clock.advance(3000);
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(mails.empty());
    EXPECT_TRUE(macros.ran.isEmpty());
    EXPECT_EQ(wire->sent.size(), 2u);
}

TEST_F(RollCallTest, ACodeStoredAsZeroANeverMatchesItsAnswer) {
    addMember("Foyer", 3, 3);
    addActions("Foyer", QString(), "Foyer down");
    makeRunner();
    ASSERT_TRUE(runner->RollCall("Foyer").ok);
    clock.advance(3000);
    // The panel answers every time (type 0A), but "A" is not "0A".
    EXPECT_EQ(requestsTo(0x0A, 3), 3);
    EXPECT_EQ(resultsOf(runner->resultsPath("Foyer")), (std::vector<ResultRow>{{"3", " ", 0, ""}}));
    EXPECT_TRUE(mails.empty());  // no recipients
    EXPECT_EQ(macros.ran, QStringList{"Foyer down"});
}

TEST_F(RollCallTest, ARollCallWithoutMembersClosesAtTheFirstTickWithoutActions) {
    addActions("Empty", "ops@example.com", "Alarm");
    addMember("Empty", 1, 99);  // not installed: not polled
    makeRunner();
    ASSERT_TRUE(runner->RollCall("Empty").ok);
    EXPECT_EQ(runner->grid().rowCount(), 0);
    EXPECT_TRUE(runner->Rollcalllistbox().isEmpty());
    clock.advance(RollCallRunner::kTickMs);
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(runner->isRunning());
    EXPECT_TRUE(mails.empty());
    EXPECT_TRUE(macros.ran.isEmpty());
    EXPECT_TRUE(wire->sent.empty());
}

TEST_F(RollCallTest, AnswersFromDevicesNotInTheGridChangeNothing) {
    addMember("Lobby", 1, 7);
    makeRunner();
    runner->Response(0x20, 7, 1, 0);  // nothing running yet
    ASSERT_TRUE(runner->RollCall("Lobby").ok);
    runner->Response(0x20, 99, 1, 0);
    runner->Response(0x21, 7, 1, 0);
    EXPECT_EQ(runner->grid().rows()[0].version, "");
    runner->Response(0x20, 7, 0x1F, 0);
    EXPECT_EQ(runner->grid().rows()[0].version, "1F.0");
}

TEST_F(RollCallTest, TwoRollCallsShareTheGridAndActOnceEach) {
    addMember("Lobby", 1, 18);
    addMember("Lobby", 1, 7);
    addActions("Lobby", "ops@example.com", "Alarm");
    addMember("Roof", 1, 7);
    addMember("Roof", 2, 5);
    addActions("Roof", QString(), "Roof alarm");
    makeRunner();
    ASSERT_TRUE(runner->RollCall("Lobby").ok);
    clock.advance(400);
    ASSERT_TRUE(runner->RollCall("Roof").ok);
    EXPECT_EQ(runner->Rollcalllistbox(), (QStringList{"Lobby", "Roof"}));
    EXPECT_EQ(runner->grid().rowCount(), 4);
    clock.advance(10000);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(requestsTo(0x20, 7), 6);  // three tries in each roll call
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].subject, "Lobby had 1 boxes not respond");
    EXPECT_EQ(macros.ran, (QStringList{"Alarm", "Roof alarm"}));
    EXPECT_EQ(resultsOf(runner->resultsPath("Roof")).size(), 2u);
}

TEST_F(RollCallTest, TheSameRollCallIsNotStartedTwiceAndARerunReplacesItsResults) {
    addMember("Lobby", 1, 18);
    makeRunner();
    ASSERT_TRUE(runner->RollCall("Lobby").ok);
    const store::Outcome again = runner->RollCall("lobby");
    EXPECT_FALSE(again.ok);
    EXPECT_TRUE(again.message.contains("already running"));
    clock.advance(2000);
    ASSERT_EQ(finished, 1);
    ASSERT_TRUE(runner->RollCall("Lobby").ok);
    clock.advance(2000);
    EXPECT_EQ(resultsOf(runner->resultsPath("Lobby")).size(), 1u);
}

TEST_F(RollCallTest, ANameWithQuotesRunsLikeAnyOther) {
    const QString name = QStringLiteral("Bob's \u00e9tage; --");
    addMember(name, 1, 18);
    makeRunner();
    ASSERT_TRUE(runner->RollCall(name).ok);
    clock.advance(2000);
    EXPECT_EQ(resultsOf(QDir(paths.dir).filePath(name + ".db")),
              (std::vector<ResultRow>{{"18", "1.4", 1, "2024-03-14 09:00:00"}}));
}

TEST_F(RollCallTest, APercentSignInTheNameStaysInTheSubject) {
    const QString name = QStringLiteral("Floor %2 at 100%");
    addMember(name, 1, 7);
    addActions(name, "ops@example.com", QString());
    makeRunner();
    ASSERT_TRUE(runner->RollCall(name).ok);
    clock.advance(3000);
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].subject, "Floor %2 at 100% had 1 boxes not respond");
    EXPECT_TRUE(macros.ran.isEmpty());
}

class BadDeviceCodeTest : public RollCallTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadDeviceCodeTest, IsNeverSentAndEndsAsNotResponded) {
    run(*main, "INSERT INTO DeviceTypes (Device_ID, Device, DeviceOpCode) VALUES (9, 'Odd', ?)",
        {QString::fromUtf8(GetParam())});
    run(*main, "INSERT INTO DevicesInstalled (Device_ID, BoxNumber, Description) VALUES (9, 18, 'odd')");
    addMember("Odd", 9, 18);
    addActions("Odd", QString(), "Odd alarm");
    makeRunner();
    ASSERT_TRUE(runner->RollCall("Odd").ok);
    clock.advance(3000);
    EXPECT_TRUE(wire->sent.empty());
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) {
        return r.MsgType == "Warning **" && r.comment.contains("cannot be asked");
    }),
              1);
    EXPECT_EQ(macros.ran, QStringList{"Odd alarm"});
}

INSTANTIATE_TEST_SUITE_P(Codes, BadDeviceCodeTest,
                         ::testing::Values("", "A", "ZZ", "+A", " A", "A5 ", "\u00e9A"));

TEST_F(RollCallTest, TheResultsFileIsACopyOfTheTemplate) {
    {
        store::Database templ =
            store::Database::open(paths.rollCallTemplate(), store::DbKind::RollCallTemplate);
        templ.exec(QStringLiteral("CREATE TABLE TemplateMark (x INTEGER)"));
    }
    addMember("Lobby", 1, 18);
    makeRunner();
    ASSERT_TRUE(runner->RollCall("Lobby").ok);
    runner->stop();
    store::Database results =
        store::Database::open(runner->resultsPath("Lobby"), store::DbKind::RollCallTemplate);
    EXPECT_EQ(scalar(results, "SELECT count(*) FROM sqlite_master WHERE name = 'TemplateMark'").toInt(), 1);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "Warning **"; }), 0);
}

TEST_F(RollCallTest, WithoutATemplateABlankResultsFileIsMadeAndSaid) {
    addMember("Lobby", 1, 18);
    makeRunner();
    ASSERT_TRUE(runner->RollCall("Lobby").ok);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) {
        return r.MsgType == "Warning **" && r.comment.contains("rollcalltemplate.db was not found");
    }),
              1);
    clock.advance(2000);
    EXPECT_EQ(resultsOf(runner->resultsPath("Lobby")).size(), 1u);
}

TEST_F(RollCallTest, ADamagedTemplateOrABlockedResultsFileRefusesTheRun) {
    addMember("Lobby", 1, 18);
    makeRunner();
    {
        QFile templ(paths.rollCallTemplate());
        ASSERT_TRUE(templ.open(QIODevice::WriteOnly));
        templ.write(QByteArray(4096, 'x'));
    }
    store::Outcome outcome = runner->RollCall("Lobby");
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.message.contains("cannot be run"));
    EXPECT_FALSE(runner->isRunning());

    QFile::remove(paths.rollCallTemplate());
    ASSERT_TRUE(QFile::remove(runner->resultsPath("Lobby")));  // the damaged copy
    ASSERT_TRUE(QDir(paths.dir).mkpath("Lobby.db/inside"));
    outcome = runner->RollCall("Lobby");
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.message.contains("cannot be replaced")) << outcome.message.toStdString();
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "ERROR ***"; }), 2);
    EXPECT_TRUE(wire->sent.empty());
}

class UnsafeNameTest : public RollCallTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnsafeNameTest, IsRefusedAndWritesNothing) {
    const QString name = QString::fromUtf8(GetParam());
    addMember(name, 1, 18);
    makeRunner();
    const store::Outcome outcome = runner->RollCall(name);
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.message.startsWith("The roll call")) << outcome.message.toStdString();
    EXPECT_FALSE(runner->isRunning());
    EXPECT_TRUE(wire->sent.empty());
    // Only the master folder is in the data folder, and nothing beside it.
    EXPECT_EQ(QDir(paths.dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"master"});
    EXPECT_FALSE(QFile::exists(QDir(paths.dir).filePath("../escape.db")));
}

INSTANTIATE_TEST_SUITE_P(Names, UnsafeNameTest,
                         ::testing::Values("", "  ", "../escape", "sub/dir", "back\\slash", "c:drive", "a*b",
                                           "q?", "pipe|", "<x>", "\"quoted\"", ".hidden", "..", "trailing.",
                                           " leading", "tab\there", "CON", "com1", "Lpt9.txt", "sensorlog",
                                           "EnergyUsage", "RollCallTemplate", "winrights"));

TEST(RollCallNameTest, OrdinaryNamesAreAccepted) {
    for (const char* name : {"Lobby", "Level 2 (east)", "Bob's floor", "nightly-check_1", "Étage 3", "con2"})
        EXPECT_FALSE(rollCallNameProblem(QString::fromUtf8(name)).has_value()) << name;
    EXPECT_TRUE(rollCallNameProblem(QString(251, QLatin1Char('a'))).has_value());
}

}  // namespace
}  // namespace qv::devices
