#include "shell/engine.h"

#include "store/store.h"

#include <QDir>
#include <QFileInfo>

namespace qv::shell {

Engine::Engine(EngineDeps deps, QObject* parent)
    : QObject(parent), m_deps(std::move(deps)) {
    m_inbox = std::make_unique<comms::InBox>(m_deps.clock, m_names, m_areaState, m_deps.monitor, this);
    m_comms = std::make_unique<comms::SerialComms>(m_deps.clock, m_deps.monitor, *m_inbox, m_deps.linkFactory,
                                                   m_deps.userSettings, this);
}

Engine::~Engine() { shutdown(); }

void Engine::monitorLine(const QString& type, const QString& comment) {
    store::MonitorRecord record;
    record.MsgType = type;
    record.DateTime = comms::dateTimeText(m_deps.clock.now());
    record.comment = comment;
    m_deps.monitor.MonitorAdditem(record);
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
    for (const auto& [area, preset, name] : rows.presets) m_names.setPresetName(area, preset, name.toStdString());
    for (const auto& [area, channel, name] : rows.channels)
        m_names.setChannelName(area, channel, name.toStdString());
}

bool Engine::start(const QString& dataDir, const QString& serialOverride, QString* error) {
    const store::DataPaths paths{dataDir};
    if (!QDir().mkpath(QDir(dataDir).filePath(QStringLiteral("master")))) {
        *error = QStringLiteral("The data directory %1 can not be created").arg(dataDir);
        return false;
    }
    if (!QFileInfo(dataDir).isWritable()) {
        *error = QStringLiteral("The data directory %1 is not writable").arg(dataDir);
        return false;
    }
    try {
        m_main.emplace(store::Database::open(paths.mainDb(), store::DbKind::Main));
        // The side files exist from the first start, so that tools and the
        // later tasks find their tables.
        for (const auto& [path, kind] : {std::pair{paths.monitorLog(), store::DbKind::MonitorLog},
                                         std::pair{paths.sensorLog(), store::DbKind::SensorLog},
                                         std::pair{paths.energyUsage(), store::DbKind::EnergyUsage},
                                         std::pair{paths.rollCallTemplate(), store::DbKind::RollCallTemplate},
                                         std::pair{paths.winrights(), store::DbKind::Winrights}})
            store::Database::open(path, kind).close();
        GetAreaPresetNames();
    } catch (const store::StoreError& e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }

    try {
        m_comms->setDoNotSend(store::loadDoNotSendAreas(paths.winrights()));
    } catch (const store::StoreError& e) {
        monitorLine(QStringLiteral("Warning **"),
                    QStringLiteral("The area permissions could not be read, no area is restricted: %1")
                        .arg(QString::fromUtf8(e.what())));
    }

    store::CommsSettings stored;
    try {
        const store::ConfigSettings config = store::loadConfigSettings(*m_main);
        m_comms->setReleaseRate(config.releaserate);
        stored = store::loadCommsSettings(*m_main);
    } catch (const store::StoreError& e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }
    m_comms->setUsb(stored.USB, stored.usbdelay);

    comms::SerialSettings serial = serialSettingsFrom(stored);
    if (!serialOverride.isEmpty()) {
        serial.portName = serialOverride;
    } else if (stored.useTCP) {
        monitorLine(QStringLiteral("ERROR ***"),
                    QStringLiteral("The settings ask for a QuorvelServer link, which this build can not make yet; "
                                   "use --serial to reach a gateway directly"));
        QMetaObject::invokeMethod(this, [this] { emit started(false); }, Qt::QueuedConnection);
        return true;
    }
    m_comms->GetCommsMethod(serial, [this](bool open) { emit started(open); });
    return true;
}

void Engine::shutdown() {
    if (m_comms) m_comms->shutdown();
    if (m_main) {
        m_main->close();
        m_main.reset();
    }
}

}  // namespace qv::shell
