#include "server/relay_service.h"

#include "server/logging.h"

namespace qv::server {

RelayService::RelayService(RelayOptions options, const qv::Clock& clock, store::MonitorSink& log,
                           comms::LinkFactory linkFactory, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_clock(clock), m_log(log) {
    m_settings = std::make_unique<QSettings>(m_settingsDir.filePath(QStringLiteral("relay.ini")),
                                             QSettings::IniFormat);
    m_server = std::make_unique<RelayServer>(
        m_clock, m_state, [this](const net::RawMessage& message) { m_comms->sendRS232(message); });
    m_tap = std::make_unique<HeardTap>(*m_server);
    m_inbox = std::make_unique<comms::InBox>(m_clock, m_names, m_state, m_log);
    m_inbox->addReactions(m_tap.get());
    m_comms =
        std::make_unique<comms::SerialComms>(m_clock, m_log, *m_inbox, std::move(linkFactory), *m_settings);
    m_comms->setReleaseRate(m_options.releaseRate);

    connect(m_comms.get(), &comms::SerialComms::alert, this, [this](const QString& text) {
        m_lastAlert = text;
        qCWarning(lcRelay).noquote() << text;
    });
    connect(m_comms.get(), &comms::SerialComms::linkStateChanged, this, [this](bool open) {
        // Once the gateway is gone, answering clients would only tell them
        // their messages arrive: better they fail over to the other server.
        if (m_open && !open) fail(QStringLiteral("the gateway link was lost"));
    });
    connect(&m_simulator, &process::SimulatorProcess::ended, this, [this](const QString& why) { fail(why); });
}

RelayService::~RelayService() {
    stop();
}

QString RelayService::summary() const {
    return QStringLiteral("listening on %1:%2 as the %3 server, gateway %4")
        .arg(m_server->address().toString())
        .arg(m_server->port())
        .arg(m_options.secondary ? QStringLiteral("secondary") : QStringLiteral("primary"))
        .arg(m_options.simulate ? QStringLiteral("quorvel-sim on ") + m_options.serial.portName
                                : m_options.serial.portName);
}

bool RelayService::start(QString* error) {
    if (!m_server->listen(m_options.bind, m_options.port, error)) return false;
    if (m_options.simulate) {
        m_options.serial.portName = m_simulator.start(m_options.simOptions, error);
        if (m_options.serial.portName.isEmpty()) return false;
    }
    m_comms->GetCommsMethod(m_options.serial, [this](bool open) {
        if (m_failed) return;
        if (!open) {
            fail(m_lastAlert.isEmpty() ? QStringLiteral("the gateway could not be opened") : m_lastAlert);
            return;
        }
        m_open = true;
        m_server->serve();
        emit ready();
    });
    return true;
}

void RelayService::fail(const QString& reason) {
    if (m_failed) return;
    m_failed = true;
    stop();
    emit failed(reason);
}

void RelayService::stop() {
    m_open = false;
    m_server->close();
    m_comms->shutdown();
    m_simulator.stop();
}

}  // namespace qv::server
