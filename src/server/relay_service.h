#pragma once
// The whole relay: the gateway (a serial port, or quorvel-sim with
// --simulate) behind the comms out box and in box, and the UDP server in
// front. Messages heard are decoded as the program does, which keeps the
// area presets for status requests, and handed to the clients.

#include "clock/clock.h"
#include "comms/decode_reactions.h"
#include "comms/in_box.h"
#include "comms/link.h"
#include "comms/serial_comms.h"
#include "net/area_state.h"
#include "net/labels.h"
#include "process/simulator_process.h"
#include "server/relay_options.h"
#include "server/relay_server.h"
#include "store/monitor_record.h"

#include <QObject>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace qv::server {

class RelayService : public QObject {
    Q_OBJECT
public:
    RelayService(RelayOptions options, const qv::Clock& clock, store::MonitorSink& log,
                 comms::LinkFactory linkFactory, QObject* parent = nullptr);
    ~RelayService() override;

    // Binds the port, starts the simulator if asked and begins opening the
    // gateway; false (with the reason) when the first two fail. Then ready()
    // or failed() follows.
    bool start(QString* error);
    void stop();

    RelayServer& server() { return *m_server; }
    const net::AreaState& areaState() const { return m_state; }
    // The text that says where the relay listens and what it relays.
    QString summary() const;

signals:
    void ready();
    void failed(const QString& reason);

private:
    // Every decoded line passes the in box's reactions with its hex text;
    // the relay hands each one on to its clients.
    class HeardTap final : public comms::DecodeReactions {
    public:
        explicit HeardTap(RelayServer& server) : m_server(server) {}
        void customCodeHeard(const std::string& hex) override { m_server.relayHeard(hex); }

    private:
        RelayServer& m_server;
    };

    void fail(const QString& reason);

    RelayOptions m_options;
    const qv::Clock& m_clock;
    store::MonitorSink& m_log;
    net::NameTables m_names;
    net::AreaState m_state;
    QTemporaryDir m_settingsDir;  // the comms keep the last message heard there
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<RelayServer> m_server;
    std::unique_ptr<HeardTap> m_tap;
    std::unique_ptr<comms::InBox> m_inbox;
    std::unique_ptr<comms::SerialComms> m_comms;
    process::SimulatorProcess m_simulator;
    QString m_lastAlert;
    bool m_open = false;
    bool m_failed = false;
};

}  // namespace qv::server
