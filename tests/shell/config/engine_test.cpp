// The configuration engine as the shell and the window use it, against a real
// data directory: loading once, the password gate, OK with its validations,
// the changes that act at once, and failures that must not lose stored data.

#include "config_fixture.h"

#include "shell/config/config_engine.h"
#include "shell/config/messages.h"
#include "shell/config/password.h"
#include "store/area_permissions.h"

#include <QSignalSpy>
#include <vector>
#include "support/case_names.h"

namespace qv::config {
namespace {

using test::ConfigTest;

class EngineTest : public ConfigTest {
protected:
    std::unique_ptr<ConfigEngine> makeEngine() {
        auto engine = std::make_unique<ConfigEngine>(
            ConfigDeps{*main, paths, monitor, clock, *userSettings,
                       [this](const net::RawMessage& m) { sent.push_back(m); }, 1});
        QObject::connect(engine.get(), &ConfigEngine::releaseRateChanged,
                         [this](int ms) { rates.push_back(ms); });
        return engine;
    }
    // Loaded and unlocked, as after the password frame's OK.
    std::unique_ptr<ConfigEngine> unlockedEngine() {
        auto engine = makeEngine();
        engine->load();
        EXPECT_FALSE(engine->open());
        EXPECT_EQ(engine->state(), ConfigEngine::DialogState::Unlocked);
        return engine;
    }
    int records(const QString& type) {
        return monitor.count([&](const store::MonitorRecord& r) { return r.MsgType == type; });
    }

    std::vector<net::RawMessage> sent;
    std::vector<int> rates;
};

TEST_F(EngineTest, LoadHandsTheOutBoxItsRateAndTheSendPathItsAreas) {
    exec("UPDATE Config SET releaserate = 20");
    std::array<bool, 256> stored{};
    stored[12] = true;
    store::saveDoNotSendAreas(paths.winrights(), stored);
    auto engine = makeEngine();
    std::array<bool, 256> handed{};
    QObject::connect(engine.get(), &ConfigEngine::doNotSendChanged,
                     [&](const std::array<bool, 256>& f) { handed = f; });
    engine->load();
    engine->load();  // once only
    EXPECT_EQ(rates, std::vector<int>{50});
    EXPECT_TRUE(handed[12]);
    EXPECT_FALSE(handed[11]);
    EXPECT_FALSE(engine->areaPermissions().allowed(12));
    EXPECT_EQ(engine->settings().config.releaserate, 50);
    EXPECT_EQ(records(store::monitorTypeText(store::MonitorType::Warning)), 1);  // the stored 20 was replaced
}

TEST_F(EngineTest, AStoredPasswordKeepsTheTabsClosedUntilItIsTyped) {
    exec("UPDATE Password SET Password = ?", {hashPassword("Lights42", HashCost::Minimum)});
    auto engine = makeEngine();
    QSignalSpy states(engine.get(), &ConfigEngine::stateChanged);
    EXPECT_TRUE(engine->open());
    EXPECT_EQ(engine->state(), ConfigEngine::DialogState::Locked);

    const store::Outcome wrong = engine->unlock("lights42");
    EXPECT_FALSE(wrong.ok);
    EXPECT_EQ(wrong.message, msg::kPasswordIncorrect);
    EXPECT_EQ(engine->state(), ConfigEngine::DialogState::Locked);
    EXPECT_FALSE(engine->accept(engine->form()).ok);

    EXPECT_TRUE(engine->unlock("Lights42").ok);
    EXPECT_EQ(engine->state(), ConfigEngine::DialogState::Unlocked);
    engine->cancel();
    EXPECT_EQ(engine->state(), ConfigEngine::DialogState::Hidden);
    EXPECT_EQ(states.count(), 3);  // Locked, Unlocked, Hidden
}

TEST_F(EngineTest, ChangesThatActAtOnceNeedTheWindowUnlocked) {
    exec("UPDATE Password SET Password = ?", {"Manager7"});
    auto engine = makeEngine();
    engine->load();
    rates.clear();
    ASSERT_TRUE(engine->open());
    EXPECT_EQ(engine->releaseRateEdited(20), 80);
    EXPECT_TRUE(rates.empty());
    EXPECT_FALSE(engine->setAreaAllowed(12, false));
    EXPECT_FALSE(engine->setAllAreasAllowed(false));
    EXPECT_FALSE(engine->setUseWatchDog(true).has_value());
    EXPECT_FALSE(engine->setDdeAbility(true));
    EXPECT_FALSE(engine->startCircuitTest());
    EXPECT_EQ(engine->resetSensorLog().message, msg::kLocked);
    EXPECT_EQ(engine->importNames().outcome.message, msg::kLocked);
    EXPECT_FALSE(store::loadDoNotSendAreas(paths.winrights())[12]);
    EXPECT_FALSE(engine->useWatchDog());
    EXPECT_TRUE(sent.empty());
}

struct ValidationRow {
    const char* name;
    std::function<void(ConfigForm&)> change;
    QString message;
};

void PrintTo(const ValidationRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.name);
}

class OkValidation : public EngineTest, public ::testing::WithParamInterface<ValidationRow> {};

TEST_P(OkValidation, StopsTheSaveAndLeavesTheWindowOpen) {
    auto engine = unlockedEngine();
    QSignalSpy restarts(engine.get(), &ConfigEngine::restartRequested);
    ConfigForm form = engine->form();
    GetParam().change(form);
    const store::Outcome outcome = engine->accept(form);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, GetParam().message);
    EXPECT_EQ(engine->state(), ConfigEngine::DialogState::Unlocked);
    EXPECT_EQ(restarts.count(), 0);
    EXPECT_EQ(scalar("SELECT buttonversion FROM Config").toInt(), 8);
    EXPECT_EQ(scalar("SELECT Password FROM Password").toString(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OkValidation,
    ::testing::Values(ValidationRow{"PasswordNotConfirmed",
                                    [](ConfigForm& f) {
                                        f.values.config.buttonversion = 12;
                                        f.newPassword = "Lights42";
                                        f.confirmPassword = "Lights24";
                                    },
                                    msg::kPasswordNotConfirmed},
                      ValidationRow{"ConfirmationWithoutNewPassword",
                                    [](ConfigForm& f) { f.confirmPassword = "Lights42"; },
                                    msg::kPasswordNotConfirmed},
                      ValidationRow{"MismatchIsCheckedBeforeTheServer",
                                    [](ConfigForm& f) {
                                        f.newPassword = "a1";
                                        f.values.comms.useTCP = true;
                                        f.values.comms.hostname.clear();
                                    },
                                    msg::kPasswordNotConfirmed},
                      ValidationRow{"PasswordBreakingTheRule",
                                    [](ConfigForm& f) { f.newPassword = f.confirmPassword = "4Lights"; },
                                    msg::kPasswordRule},
                      ValidationRow{"ServerWithoutAddress",
                                    [](ConfigForm& f) {
                                        f.values.comms.useTCP = true;
                                        f.values.comms.hostname = "   ";
                                        f.values.comms.comport = 0;
                                    },
                                    msg::kServerNeeded},
                      ValidationRow{"SerialWithoutPort",
                                    [](ConfigForm& f) {
                                        f.values.comms.useTCP = false;
                                        f.values.comms.hostname = "10.0.0.2";
                                        f.values.comms.comport = 0;
                                    },
                                    msg::kComPortNeeded},
                      ValidationRow{"SerialPortOutsideTheList",
                                    [](ConfigForm& f) { f.values.comms.comport = 17; }, msg::kComPortNeeded}),
    [](const ::testing::TestParamInfo<ValidationRow>& info) { return std::string(info.param.name); });

TEST_F(EngineTest, ADevicePathCountsAsTheChosenSerialPort) {
    auto engine = unlockedEngine();
    ConfigForm form = engine->form();
    form.values.comms.comport = 0;
    form.values.comms.portname = "/dev/ttyUSB0";
    EXPECT_TRUE(engine->accept(form).ok);
}

TEST_F(EngineTest, OkStoresEverythingAppliesThePermissionsAndAsksForARestart) {
    exec("UPDATE Config SET Latitude = -33.9");
    auto engine = unlockedEngine();
    engine->SetPermissions();
    QSignalSpy permissionChanges(&engine->permissions(), &PermissionModel::changed);
    QSignalSpy restarts(engine.get(), &ConfigEngine::restartRequested);
    std::optional<store::CommsSettings> reopened;
    QObject::connect(engine.get(), &ConfigEngine::commsSettingsChanged,
                     [&](const store::CommsSettings& c) { reopened = c; });
    rates.clear();

    ConfigForm form = engine->form();
    EXPECT_DOUBLE_EQ(form.latitude.degrees, 33.9);
    EXPECT_EQ(form.latitude.hemisphere, NorthSouth::South);
    form.latitude.hemisphere = NorthSouth::North;
    form.longitude = {2.35, EastWest::East};
    form.values.config.macros = false;
    form.values.config.buttonversion = 12;
    form.values.config.releaserate = 20;  // never left its box
    form.values.config.LoadFromMonitorLog = 20000;
    form.values.comms.USB = true;
    form.values.comms.usbdelay = 0;
    form.values.comms.useTCP = true;
    form.values.comms.hostname = " 10.0.0.9 ";
    form.newPassword = form.confirmPassword = "Lights42";
    form.localIP = "10.0.0.4";

    const store::Outcome outcome = engine->accept(form);
    ASSERT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(outcome.message, msg::kRestartNeeded);
    EXPECT_EQ(engine->state(), ConfigEngine::DialogState::Hidden);
    ASSERT_EQ(restarts.count(), 1);
    EXPECT_EQ(restarts.at(0).at(0).toString(), msg::kRestartNeeded);
    ASSERT_TRUE(reopened.has_value());
    EXPECT_TRUE(reopened->useTCP);
    EXPECT_EQ(reopened->hostname, "10.0.0.9");
    EXPECT_EQ(reopened->usbdelay, 25);
    EXPECT_EQ(rates, std::vector<int>{50});

    EXPECT_EQ(permissionChanges.count(), 1);
    EXPECT_FALSE(engine->permissions().macros());
    EXPECT_FALSE(engine->permissions().toolbarButtonEnabled("Macros"));
    EXPECT_TRUE(engine->permissions().toolbarButtonEnabled("Scheduler"));
    EXPECT_EQ(engine->permissions().buttonversion(), 12);

    EXPECT_DOUBLE_EQ(scalar("SELECT Latitude FROM Config").toDouble(), 33.9);
    EXPECT_DOUBLE_EQ(scalar("SELECT Longitude FROM Config").toDouble(), -2.35);
    EXPECT_EQ(scalar("SELECT releaserate FROM Config").toInt(), 50);
    EXPECT_EQ(scalar("SELECT LoadFromMonitorLog FROM Config").toInt(), 10000);
    EXPECT_EQ(scalar("SELECT macros FROM Config").toInt(), 0);
    EXPECT_EQ(scalar("SELECT USBdelay FROM Comms").toInt(), 25);
    EXPECT_EQ(scalar("SELECT hostname FROM Comms").toString(), "10.0.0.9");
    const QString password = scalar("SELECT Password FROM Password").toString();
    EXPECT_TRUE(isPasswordHash(password));
    EXPECT_EQ(userSettings->value("Client/QVTCPIPLocalIP").toString(), "10.0.0.4");

    // The next opening asks for the new password.
    EXPECT_TRUE(engine->open());
    EXPECT_FALSE(engine->unlock("Manager7").ok);
    EXPECT_TRUE(engine->unlock("Lights42").ok);
}

TEST_F(EngineTest, APlainPasswordOpensTheWindowAndIsHashedByTheNextOk) {
    exec("UPDATE Password SET Password = ?", {"Manager7"});
    auto engine = makeEngine();
    ASSERT_TRUE(engine->open());
    ASSERT_TRUE(engine->unlock("Manager7").ok);
    ASSERT_TRUE(engine->accept(engine->form()).ok);
    EXPECT_TRUE(isPasswordHash(scalar("SELECT Password FROM Password").toString()));
    ASSERT_TRUE(engine->open());
    EXPECT_TRUE(engine->unlock("Manager7").ok);
}

TEST_F(EngineTest, ReleaseRateActsAtOnceAndCancelStoresNothing) {
    auto engine = unlockedEngine();
    rates.clear();
    EXPECT_EQ(engine->releaseRateEdited(20), 50);
    EXPECT_EQ(engine->releaseRateEdited(1000), 300);
    EXPECT_EQ(engine->releaseRateEdited(300), 300);  // no change, no signal
    EXPECT_EQ(rates, (std::vector<int>{50, 300}));
    engine->cancel();
    EXPECT_EQ(scalar("SELECT releaserate FROM Config").toInt(), 80);
}

TEST_F(EngineTest, AnAreaUntickedIsStoredAtOnceEvenWhenTheWindowIsCancelled) {
    auto engine = unlockedEngine();
    std::vector<std::array<bool, 256>> handed;
    QObject::connect(engine.get(), &ConfigEngine::doNotSendChanged,
                     [&](const std::array<bool, 256>& f) { handed.push_back(f); });
    ASSERT_TRUE(engine->setAreaAllowed(12, false));
    engine->cancel();
    EXPECT_TRUE(store::loadDoNotSendAreas(paths.winrights())[12]);
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_TRUE(handed[0][12]);

    ASSERT_FALSE(engine->open());
    ASSERT_TRUE(engine->setAreaAllowed(12, true));
    EXPECT_FALSE(store::loadDoNotSendAreas(paths.winrights())[12]);
    EXPECT_FALSE(engine->setAreaAllowed(256, false));
    EXPECT_FALSE(engine->setAreaAllowed(-1, false));

    ASSERT_TRUE(engine->setAllAreasAllowed(false));
    const auto none = store::loadDoNotSendAreas(paths.winrights());
    EXPECT_TRUE(std::all_of(none.begin(), none.end(), [](bool f) { return f; }));
    ASSERT_TRUE(engine->setAllAreasAllowed(true));
    const auto all = store::loadDoNotSendAreas(paths.winrights());
    EXPECT_TRUE(std::none_of(all.begin(), all.end(), [](bool f) { return f; }));
}

TEST_F(EngineTest, ADamagedAreaStoreDisablesTheListAndRestrictsNoArea) {
    const QByteArray damage("this is not a database file, it was overwritten by accident");
    test::writeFile(paths.winrights(), damage);
    auto engine = unlockedEngine();
    EXPECT_FALSE(engine->areaPermissions().available());
    for (int area : {0, 12, 255}) EXPECT_TRUE(engine->areaPermissions().allowed(area));
    EXPECT_EQ(records(store::monitorTypeText(store::MonitorType::Warning)), 1);
    EXPECT_FALSE(engine->setAreaAllowed(12, false));
    QFile file(paths.winrights());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), damage);  // left for someone to look at
}

TEST_F(EngineTest, PerUserSettingsAreWrittenAtOnce) {
    auto engine = unlockedEngine();
    EXPECT_FALSE(engine->useWatchDog());
    EXPECT_EQ(engine->setUseWatchDog(true), msg::kWatchDogRestart);
    EXPECT_FALSE(engine->setUseWatchDog(true).has_value());  // no change, no message
    EXPECT_TRUE(engine->setLockPlanview(true));
    engine->cancel();
    QSettings reread(inData("user.ini"), QSettings::IniFormat);
    userSettings->sync();
    EXPECT_EQ(reread.value("Client/useWatchDog").toInt(), 1);
    EXPECT_EQ(reread.value("Client/LockPlanview").toInt(), 1);
    EXPECT_TRUE(engine->useWatchDog());
    EXPECT_TRUE(engine->lockPlanview());
}

TEST_F(EngineTest, TheDdeTickAsksForTheDdeWindowAtOnce) {
    auto engine = unlockedEngine();
    QSignalSpy dde(engine.get(), &ConfigEngine::ddeLinkRequested);
    EXPECT_TRUE(engine->setDdeAbility(false));
    EXPECT_TRUE(engine->setDdeAbility(true));
    ASSERT_EQ(dde.count(), 2);
    EXPECT_FALSE(dde.at(0).at(0).toBool());
    EXPECT_TRUE(dde.at(1).at(0).toBool());
}

TEST_F(EngineTest, SensorLogResetDeletesReadingsAndChanges) {
    {
        store::Database log = store::Database::open(paths.sensorLog(), store::DbKind::SensorLog);
        for (int i = 0; i < 3; ++i) {
            QSqlQuery q = log.prepare("INSERT INTO TBLSensorLog (SensorBoxnumber, LuxLevel) VALUES (?, ?)");
            q.addBindValue(i);
            q.addBindValue(100 + i);
            log.exec(q);
        }
        log.exec("INSERT INTO TBLSensorChanged (SensorBoxNumber) VALUES (4)");
        log.close();
    }
    auto engine = unlockedEngine();
    const store::Outcome outcome = engine->resetSensorLog();
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.message, msg::kSensorLogDeleted);
    store::Database log = store::Database::open(paths.sensorLog(), store::DbKind::SensorLog);
    for (const char* table : {"TBLSensorLog", "TBLSensorChanged"}) {
        QSqlQuery q = log.prepare(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
        log.exec(q);
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 0) << table;
    }
    log.close();
    EXPECT_EQ(monitor.countComment(msg::kSensorLogDeleted), 1);
}

TEST_F(EngineTest, ADamagedSensorLogIsReportedAndLeftAsItIs) {
    const QByteArray damage(4096, 'x');
    test::writeFile(paths.sensorLog(), damage);
    auto engine = unlockedEngine();
    const store::Outcome outcome = engine->resetSensorLog();
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.message.startsWith("The Sensor Log could not be reset"))
        << outcome.message.toStdString();
    EXPECT_EQ(records(store::monitorTypeText(store::MonitorType::Error)), 1);
    QFile file(paths.sensorLog());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), damage);
}

TEST_F(EngineTest, AnUnreadableConfigurationIsNotSavedOverTheStoredOne) {
    exec("DROP TABLE Config");
    auto engine = makeEngine();
    engine->load();
    EXPECT_EQ(records(store::monitorTypeText(store::MonitorType::Error)), 1);
    EXPECT_EQ(engine->settings().config.releaserate, 50);  // the initial settings stand
    EXPECT_EQ(rates, std::vector<int>{50});
    ASSERT_FALSE(engine->open());
    ConfigForm form = engine->form();
    form.values.comms.baud1 = "115200";
    EXPECT_FALSE(engine->accept(form).ok);
    EXPECT_EQ(scalar("SELECT baud1 FROM Comms").toString(), "9600");
}

TEST_F(EngineTest, SetPermissionsFollowsTheStoredSwitches) {
    exec("UPDATE Config SET plan = 0, monitor = 0, sensorlog = 0, buttonversion = 24");
    auto engine = makeEngine();
    QSignalSpy changes(&engine->permissions(), &PermissionModel::changed);
    EXPECT_FALSE(engine->permissions().macros());  // nothing allowed before the settings are read
    engine->SetPermissions();
    engine->SetPermissions();
    EXPECT_EQ(changes.count(), 1);
    const PermissionModel& p = engine->permissions();
    EXPECT_FALSE(p.plan());
    EXPECT_FALSE(p.monitor());
    EXPECT_FALSE(p.sensorlog());
    EXPECT_TRUE(p.macros());
    EXPECT_TRUE(p.allows(Function::Scheduler));
    EXPECT_EQ(p.buttonversion(), 24);
    EXPECT_FALSE(p.toolbarButtonEnabled("PlanView"));
    EXPECT_FALSE(p.toolbarButtonEnabled("Monitor"));
    EXPECT_TRUE(p.toolbarButtonEnabled("DirectControl"));
    EXPECT_TRUE(p.property("macros").toBool());  // what a QML window binds to
    EXPECT_FALSE(p.property("plan").toBool());
}

TEST_F(EngineTest, BoxChecksGiveTheWindowsMessages) {
    EXPECT_EQ(ConfigEngine::loadFromMonitorLogEdited(-4), 0);
    EXPECT_EQ(ConfigEngine::loadFromMonitorLogEdited(12000), 10000);
    EXPECT_EQ(ConfigEngine::serverAddressEdited("10.0.0.300"), msg::kInvalidIPNumber);
    EXPECT_FALSE(ConfigEngine::serverAddressEdited("10.0.0.30").has_value());
    EXPECT_FALSE(ConfigEngine::serverAddressEdited("").has_value());
    EXPECT_EQ(ConfigEngine::newPasswordEdited("9lives"), msg::kPasswordRule);
}

TEST_F(EngineTest, TheCircuitTestRunsThroughTheInjectedSender) {
    auto engine = unlockedEngine();
    QSignalSpy finished(&engine->circuitTest(), &CircuitFindingTest::finished);
    ASSERT_TRUE(engine->startCircuitTest());
    clock.advance(255);  // 1 ms apart
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(sent.size(), 255u);
}

}  // namespace
}  // namespace qv::config
