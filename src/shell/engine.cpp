#include "shell/engine.h"

#include "features/devices/roll_call.h"
#include "features/exchange/exchange_reactions.h"
#include "features/exchange/item_exchange.h"
#include "features/exchange/status_file.h"
#include "features/plan/plan_feed.h"
#include "features/reactions/button_panel.h"
#include "macros/macro_engine.h"
#include "schedule/scheduling.h"
#include "schedule/sun_times.h"
#include "shell/config/config_engine.h"
#include "shell/up_time.h"

#include <QDir>
#include <QFileInfo>

namespace qv::shell {

const QString Engine::kVersionText = QStringLiteral("v%1.%2  build %3")
                                         .arg(QUORVEL_VERSION_MAJOR)
                                         .arg(QUORVEL_VERSION_MINOR)
                                         .arg(QUORVEL_VERSION_PATCH);

namespace {

// Keeps the records written before the monitor log is open.
struct RecordedMonitor final : store::MonitorSink {
    std::vector<store::MonitorRecord> records;
    void MonitorAdditem(const store::MonitorRecord& record) override { records.push_back(record); }
};

// Between load steps the event loop gets a turn, as the windows repaint.
constexpr int kStepGapMs = 20;
constexpr int kProcessorGraceMs = 5000;

}  // namespace

Engine::Engine(EngineDeps deps, QObject* parent)
    : QObject(parent),
      m_deps(std::move(deps)),
      m_scriptApi(*this),
      m_scripts(&m_scriptApi),
      m_watchdog(m_deps.clock) {
    m_monitor.add(m_deps.extraMonitor);
    m_linkMonitor.add(&m_monitor);
    m_inbox = std::make_unique<comms::InBox>(m_deps.clock, m_names, m_areaState, m_monitor, this);
    m_comms = std::make_unique<comms::SerialComms>(
        m_deps.clock, m_linkMonitor, *m_inbox,
        [this](const comms::LinkSettings& settings) { return makeLink(settings); }, m_deps.userSettings,
        this);
    connect(m_comms.get(), &comms::SerialComms::alert, this, &Engine::alert);
    connect(m_comms.get(), &comms::SerialComms::progress, this, [this](const QString& text) {
        if (!started()) emit splashCaption(text);
    });
}

std::unique_ptr<comms::Link> Engine::makeLink(const comms::LinkSettings& settings) {
    const auto* addresses = std::get_if<comms::ServerAddresses>(&settings);
    if (!addresses) return m_deps.linkFactory(settings);
    auto link = std::make_unique<comms::ServerLink>(
        comms::ServerLinkDeps{m_deps.clock, m_linkMonitor, *m_inbox, m_areaState, m_serverLights,
                              [this](int area, int preset) {
                                  if (m_features)
                                      m_features->buttons().presetHeardAfterSelection(area, preset);
                              }},
        *addresses);
    connect(link.get(), &comms::ServerLink::alert, this, &Engine::alert);
    m_server = link.get();
    return link;
}

Engine::~Engine() {
    if (m_sequence) m_sequence->abort();
    m_statusFile.reset();
    m_exchange.reset();
    m_scheduling.reset();
    m_config.reset();
    m_features.reset();
    m_macros.reset();
    if (m_comms) m_comms->shutdown();
    if (m_monitorLog) m_monitorLog->close();
    if (m_main) m_main->close();
}

comms::SerialSettings Engine::serialSettingsFrom(const store::CommsSettings& stored) {
    comms::SerialSettings settings;
    settings.portNumber = stored.comport;
    settings.portName = !stored.portname.trimmed().isEmpty()
                            ? stored.portname.trimmed()
                            : QStringLiteral("/dev/ttyS%1").arg(std::max(stored.comport, 1) - 1);
    settings.baud = stored.baud1;
    settings.parity = stored.parity1;
    settings.dataBits = stored.databits1;
    settings.stopBits = stored.stopbits1;
    return settings;
}

void Engine::GetAreaPresetNames() {
    m_names.clear();
    const store::NameRows rows = store::loadNameRows(*m_main);
    for (const auto& [area, name] : rows.areas) m_names.setAreaName(area, name.toStdString());
    for (const auto& [area, preset, name] : rows.presets)
        m_names.setPresetName(area, preset, name.toStdString());
    for (const auto& [area, channel, name] : rows.channels)
        m_names.setChannelName(area, channel, name.toStdString());
    // Last, so that a stored row for channel 256 does not rename it.
    for (int area = 1; area <= net::kMaxArea; ++area)
        m_names.setChannelName(area, net::kAllChannels, "All Channels");
}

void Engine::sendRS232(const net::RawMessage& message) {
    m_comms->sendRS232(message);
}

void Engine::RunMacro(const QString& name) {
    if (m_macros) m_macros->runner().RunMacro(name);
}

ScriptConsole::Outcome Engine::runScript(const QString& code, const QString& fileName) {
    ScriptConsole::Outcome outcome = m_scripts.run(code, fileName);
    if (!outcome.ok) m_monitorWriter.error(outcome.error);
    return outcome;
}

void Engine::fail(const QString& fatalMessage) {
    if (m_sequence) m_sequence->abort();
    m_result.ok = false;
    m_result.fatalMessage = fatalMessage;
    if (auto done = std::exchange(m_startDone, {})) done(m_result);
}

void Engine::start(const StartSettings& settings, std::function<void(const StartResult&)> done) {
    m_startDone = std::move(done);
    m_startCalledAt = m_deps.clock.now();
    m_serialOverride = settings.serialOverride;
    m_result = {};
    m_paths = store::DataPaths{settings.dataDir};
    m_sequence = std::make_unique<StepSequence>(m_deps.clock, this);
    connect(m_sequence.get(), &StepSequence::caption, this, &Engine::splashCaption);
    buildLoadSequence(*m_sequence, settings);
    m_sequence->start([this] {
        m_result.ok = true;
        if (auto finished = std::exchange(m_startDone, {})) finished(m_result);
    });
}

void Engine::openStores(const StartSettings& settings) {
    const QString dir = settings.dataDir;
    // The master folder itself is made by the database care, which says so in the debug list.
    if (!QDir().mkpath(dir) || !QFileInfo(dir).isWritable()) {
        fail(QStringLiteral("The data directory %1 can not be created or written").arg(dir));
        return;
    }
    m_debug.open(dir);
    // The databases are rewritten at every start: a folder or a file that may
    // not be written is said plainly, before anything is touched.
    const QString master = QFileInfo(m_paths.mainDb()).absolutePath();
    if (QFileInfo::exists(master) && !QFileInfo(master).isWritable()) {
        fail(QStringLiteral(
                 "The folder %1 can not be written. Quorvel keeps its databases there and must be able "
                 "to change them.")
                 .arg(master));
        return;
    }
    for (const QString& file : {m_paths.mainDb(), m_paths.monitorLog()}) {
        if (QFileInfo::exists(file) && !QFileInfo(file).isWritable()) {
            fail(QStringLiteral("The database %1 is read-only. Quorvel must be able to write it; it was left "
                                "untouched.")
                     .arg(file));
            return;
        }
    }
    const store::MaintenanceResult care = store::runDatabaseMaintenance(
        m_paths, m_deps.clock.now(), [this](const QString& line) { m_debug.AddDebug(line); });
    if (!care.canStart()) {
        fail(care.fatalMessage);
        return;
    }
    m_storeNotices = care.notices;
    try {
        // Opening brings the schema up to date through its migrations.
        m_main.emplace(store::Database::open(m_paths.mainDb(), store::DbKind::Main));
    } catch (const store::StoreError& e) {
        m_debug.AddDebug(QStringLiteral("#### ") + QString::fromUtf8(e.what()));
        // The old text blamed another user for every failure; it fits only a lock.
        const QString why = QString::fromUtf8(e.what());
        if (why.contains(QLatin1String("locked"), Qt::CaseInsensitive) ||
            why.contains(QLatin1String("busy"), Qt::CaseInsensitive))
            fail(QStringLiteral(
                     "The database engine cannot open the file %1.  It is already opened exclusively by "
                     "another user, or you need permission to view its data.\n%2")
                     .arg(m_paths.mainDb(), why));
        else
            fail(QStringLiteral("The main database %1 can not be opened: %2").arg(m_paths.mainDb(), why));
        return;
    }
    try {
        // The side files exist from the first start, so other programs and
        // later tasks find their tables.
        for (store::DbKind kind :
             {store::DbKind::SensorLog, store::DbKind::EnergyUsage, store::DbKind::RollCallTemplate})
            store::Database::open(m_paths.pathOf(kind), kind).close();
    } catch (const store::StoreError& e) {
        m_debug.AddDebug(QStringLiteral("### ") + QString::fromUtf8(e.what()));
    }
}

const store::ConfigSettings& Engine::config() const {
    static const store::ConfigSettings defaults;
    return m_config ? m_config->settings().config : defaults;
}

void Engine::createConfig() {
    if (m_config) return;
    m_config = std::make_unique<config::ConfigEngine>(
        config::ConfigDeps{*m_main, m_paths, m_monitor, m_deps.clock, m_deps.userSettings,
                           [this](const net::RawMessage& m) { sendRS232(m); }});
    connect(m_config.get(), &config::ConfigEngine::releaseRateChanged, m_comms.get(),
            &comms::SerialComms::setReleaseRate);
    connect(m_config.get(), &config::ConfigEngine::doNotSendChanged, m_comms.get(),
            &comms::SerialComms::setDoNotSend);
    connect(m_config.get(), &config::ConfigEngine::namesChanged, this, &Engine::GetAreaPresetNames);
    connect(m_config.get(), &config::ConfigEngine::ddeLinkRequested, this, &Engine::setItemExchange);
    connect(m_config.get(), &config::ConfigEngine::commsSettingsChanged, this,
            [this](const store::CommsSettings& c) { GetCommsMethod(c, {}); });
    connect(m_config.get(), &config::ConfigEngine::showAllMacroActivityChanged, this, [this](bool on) {
        if (m_macros) m_macros->pool().setShowAllMacroActivity(on);
    });
    connect(m_config.get(), &config::ConfigEngine::restartRequested, this, [this](const QString& message) {
        emit information(message);
        emit restartRequested();
    });
}

bool Engine::itemExchangeOn() const {
    return m_exchange && m_exchange->isListening();
}

void Engine::setItemExchange(bool on) {
    if (!on) {
        if (m_statusFile) m_statusFile->stop();
        if (m_exchange) m_exchange->stop();
        emit itemExchangeChanged(false);
        return;
    }
    if (!m_exchange) {
        const exchange::ExchangeDeps deps{[this](const net::RawMessage& m) { sendRS232(m); },
                                          m_macros->runner(), m_areaState, m_monitor, m_deps.clock};
        m_exchange = std::make_unique<exchange::ItemExchange>(deps);
        // The in box keeps its reactions for its whole life, so these live as long.
        m_exchangeReactions = std::make_unique<exchange::ExchangeReactions>(m_exchange->items());
        m_inbox->addReactions(m_exchangeReactions.get());
        m_statusFile =
            std::make_unique<exchange::StatusFile>(deps, exchange::StatusFile::defaultPath(m_paths.dir));
    }
    m_exchange->start();
    m_statusFile->start();
    emit itemExchangeChanged(itemExchangeOn());
}

void Engine::openComms(std::function<void()> next) {
    store::CommsSettings stored;
    try {
        stored = store::loadCommsSettings(*m_main);
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(QString::fromUtf8(e.what()));
    }
    GetCommsMethod(stored, [this, next](bool open) {
        m_result.linkOpen = open;
        next();
    });
}

void Engine::GetCommsMethod(const store::CommsSettings& stored, std::function<void(bool)> done) {
    m_comms->setUsb(stored.USB, stored.usbdelay < 1 ? 25 : stored.usbdelay);
    comms::SerialSettings serial = serialSettingsFrom(stored);
    // A --serial port on the command line wins over the stored choice.
    if (!m_serialOverride.isEmpty()) serial.portName = m_serialOverride;
    if (stored.useTCP && m_serialOverride.isEmpty()) {
        // Everything sent goes to the server; it counts as open once one answers.
        m_usesServer = true;
        // Start-up waits a little for a server so that the startup macro's
        // messages are not dropped; polling goes on whatever the answer.
        m_comms->GetCommsMethod(
            comms::ServerAddresses{
                stored.hostname, stored.secondaryhostname,
                m_deps.userSettings.value(QStringLiteral("Client/QVTCPIPLocalIP")).toString()},
            std::move(done));
        return;
    }
    m_usesServer = false;
    m_comms->GetCommsMethod(serial, std::move(done));
}

void Engine::buildLoadSequence(StepSequence& steps, const StartSettings& settings) {
    steps.add(store::maintenanceCaption(), [this, settings] { openStores(settings); });
    steps.add({}, [this] {
        if (!m_macros) {
            m_macros = std::make_unique<macros::MacroEngine>(macros::MacroEngineDeps{
                *m_main, m_monitor, m_deps.clock, [this](const net::RawMessage& m) { sendRS232(m); }});
            connect(&m_macros->pool(), &macros::MacroPool::restartRequested, this, &Engine::restartRequested);
        }
    });
    steps.add({}, [this] {
        // The first use of the configuration loads it: the release rate and
        // the area permissions take effect as it does.
        createConfig();
        // The monitor log is opened with the settings the load reads, so the
        // load's warnings are kept and written to the log once it is open.
        RecordedMonitor loadNotes;
        m_monitor.add(&loadNotes);
        m_config->load();
        m_monitor.remove(&loadNotes);
        m_macros->applyConfig(config());
        m_macros->pool().setShowAllMacroActivity(m_config->showAllMacroActivity());
        const int readBack = std::clamp(config().LoadFromMonitorLog, 0, 10000);
        emit splashCaption(QStringLiteral("Loading...MonitorLog (%1 max rec)").arg(readBack));
        m_monitorLog = std::make_unique<store::MonitorLog>(
            store::MonitorLogDeps{m_paths.monitorLog(), &m_names, m_deps.clock});
        m_monitorLog->setLoggingEnabled(config().enablemonitorlog);
        m_monitorLog->loadPreviousSessions(readBack, [this](int percent) { emit loadProgress(percent); });
        emit loadProgress(-1);
        for (const store::MonitorRecord& record : loadNotes.records) m_monitorLog->MonitorAdditem(record);
        m_monitor.add(m_monitorLog.get());
        for (const QString& notice : std::exchange(m_storeNotices, {})) m_monitorWriter.warning(notice);
        m_monitorWriter.write(store::MonitorType::Start, QStringLiteral("Quorvel has started"));
    });
    steps.addAsync(
        QStringLiteral("Loading...Comms"), [this](StepSequence::Next next) { openComms(next); }, kStepGapMs);
    steps.add(
        QStringLiteral("Loading...MacroProcessor"), [this] { RunMacro(QStringLiteral("startup")); },
        kStepGapMs);
    steps.add(
        QStringLiteral("Loading...Area and Preset Names"), [this] { GetAreaPresetNames(); }, kStepGapMs);
    steps.add(
        QStringLiteral("Loading...Permissions"),
        [this] {
            m_config->SetPermissions();
            setItemExchange(m_config->permissions().ddeability());
            if (m_server) m_server->AreaPresetStatusRequest();  // not connected: nothing is sent
        },
        kStepGapMs);
    steps.add({}, [this] {
        m_features = std::make_unique<FeatureSet>(
            FeatureDeps{*m_main, m_macros->runner(), m_areaState, m_names, m_monitor, m_deps.clock,
                        [this](const net::RawMessage& m) { sendRS232(m); },
                        [this](const QString& name, bool on) { m_macros->pool().EnableMacro(name, on); },
                        m_paths, config(), m_macros->mailer(), m_deps.channelSeekStepMs});
        m_features->registerReactions(*m_inbox);
        connect(&m_macros->pool(), &macros::MacroPool::RollCall, this,
                [this](const QString& name) { m_features->rollCalls().RollCall(name); });
        connect(&m_macros->pool(), &macros::MacroPool::PlanViewNav, &m_features->plan(),
                &plan::PlanFeed::NavigatePlanView);
        emit featuresReady();
    });
    steps.add(
        QStringLiteral("Loading...Button Labels"), [this] { m_features->GetButtonLabels(); }, kStepGapMs);
    steps.add(
        QStringLiteral("Loading...Button Changes"), [this] { m_features->GetButtonChanges(); }, kStepGapMs);
    steps.add(
        QStringLiteral("Loading...Indicator Changes"), [this] { m_features->GetIndicatorChanges(); },
        kStepGapMs);
    steps.add({}, [this] {
        // The schedule workspace is rebuilt and what is due this minute fires.
        QString calendar = config().ReminderCalendarPath.trimmed();
        if (!calendar.isEmpty()) calendar = QDir(m_paths.dir).absoluteFilePath(calendar);
        m_scheduling = std::make_unique<schedule::Scheduling>(
            schedule::SchedulingDeps{*m_main, m_monitor, m_deps.clock, m_macros->runner(),
                                     schedule::siteFromConfig(config()), calendar},
            this);
        m_scheduling->start();
    });
    steps.add(
        QStringLiteral("Loading...Sensor Log"), [this] { m_features->GetSensorstoLog(); }, kStepGapMs);
    steps.add(
        QStringLiteral("Loading...Area/Preset Events"), [this] { m_features->GetAreaPresetEvents(); },
        kStepGapMs);
    steps.add(
        QStringLiteral("Loading...Custom Code Events"), [this] { m_features->GetCustomCodeEvents(); },
        kStepGapMs);
    steps.add({}, [this] {
        if (QDir().mkdir(QDir(m_paths.dir).filePath(QStringLiteral("Planview Drawings"))))
            m_debug.AddDebug(QStringLiteral("Create \\Planview Drawings Folder"));
    });
    steps.add({}, [this] {
        m_comms->startHealthCheck();
        try {
            store::appendVersionHistory(*m_main, kVersionText, m_deps.clock.now());
        } catch (const store::StoreError& e) {
            m_monitorWriter.error(QString::fromUtf8(e.what()));
        }
        m_startedAt = m_deps.clock.now();
        Watchdog::notifyReady();
        m_watchdog.start(m_config->useWatchDog());
    });
}

void Engine::shutdown(std::function<void()> done) {
    if (m_shuttingDown) return;
    m_shuttingDown = true;
    if (m_sequence) m_sequence->abort();
    m_shutdownSteps = std::make_unique<StepSequence>(m_deps.clock, this);
    StepSequence* steps = m_shutdownSteps.get();
    steps->add({}, [this] {
        emit splashCaption(QStringLiteral("--- please wait, closing ---"));
        m_watchdog.stop();
        // Stopped during start-up, the up time counts from the start of loading.
        const QDateTime since = m_startedAt.isValid() ? m_startedAt : m_startCalledAt;
        // The links stay open a second longer for the last echoes, quietly.
        m_linkMonitor.remove(&m_monitor);
        if (since.isValid())
            m_monitorWriter.write(store::MonitorType::Shutdown,
                                  shutdownText(since.secsTo(m_deps.clock.now())));
        if (m_macros) {
            m_macros->pool().CancelAllMacros(QStringLiteral("All"));
            m_macros->pool().stopCue();  // nothing new starts while the database closes
        }
        if (m_features) m_features->stop();
        if (m_scheduling) m_scheduling->stop();
        m_comms->stopHeartBeat();
    });
    // A second for the last echoes and cancelled macros to settle.
    steps->add(
        {}, [this] { m_comms->shutdown(); }, 1000);
    steps->add(
        {},
        [this] {
            if (m_macros) m_macros->pool().CancelAllMacros(QStringLiteral("All"));
        },
        300);
    // At most 5 s for processors that have not let go yet.
    steps->addAsync({}, [this](StepSequence::Next next) {
        waitForProcessors(m_deps.clock.monotonicMs() + kProcessorGraceMs, std::move(next));
    });
    steps->add({}, [this] {
        setItemExchange(false);
        m_scheduling.reset();
        m_monitor.remove(m_monitorLog.get());
        if (m_monitorLog) m_monitorLog->close();
        if (m_main) m_main->close();
        m_main.reset();
    });
    steps->start([done] {
        if (done) done();
    });
}

void Engine::waitForProcessors(qint64 deadline, StepSequence::Next next) {
    if (!m_macros || m_macros->pool().busySlots() == 0 || m_deps.clock.monotonicMs() >= deadline) {
        next();
        return;
    }
    if (!m_processorWait)
        m_processorWait =
            m_deps.clock.createSingleShot(20, [this] { waitForProcessors(m_waitDeadline, m_waitNext); });
    m_waitDeadline = deadline;
    m_waitNext = std::move(next);
    m_processorWait->start();
}

}  // namespace qv::shell
