#pragma once
// The engine: the store, the network state, the decoder and the links, wired
// together. It never calls a window; front ends (headless now, windows later)
// watch its signals and its monitor sink.

#include "comms/clock.h"
#include "comms/in_box.h"
#include "comms/link.h"
#include "comms/serial_comms.h"
#include "net/area_state.h"
#include "net/labels.h"
#include "store/store.h"
#include "store/monitor_record.h"

#include <QObject>
#include <QSettings>

#include <memory>
#include <optional>

namespace qv::shell {

struct EngineDeps {
    comms::Clock& clock;
    store::MonitorSink& monitor;
    comms::LinkFactory linkFactory;
    QSettings& userSettings;
};

class Engine : public QObject {
    Q_OBJECT
public:
    explicit Engine(EngineDeps deps, QObject* parent = nullptr);
    ~Engine() override;

    // Opens the databases, loads names and permissions and opens the link.
    // Returns false (with the reason) when the data directory or the main
    // database cannot be used; the link's outcome arrives as started().
    // serialOverride, when not empty, wins over the stored port.
    bool start(const QString& dataDir, const QString& serialOverride, QString* error);
    void shutdown();

    // Fills the name tables from the main database.
    void GetAreaPresetNames();

    comms::SerialComms& comms() { return *m_comms; }
    comms::InBox& inbox() { return *m_inbox; }
    net::AreaState& areaState() { return m_areaState; }
    const net::NameTables& names() const { return m_names; }
    store::Database& mainDatabase() { return *m_main; }

    // The serial port the stored settings name: the device path when set,
    // otherwise port N is /dev/ttyS{N-1}.
    static comms::SerialSettings serialSettingsFrom(const store::CommsSettings& stored);

signals:
    // The link is open (true) or could not be opened (false).
    void started(bool linkOpen);

private:
    void monitorLine(const QString& type, const QString& comment);

    EngineDeps m_deps;
    net::NameTables m_names;
    net::AreaState m_areaState;
    std::optional<store::Database> m_main;
    std::unique_ptr<comms::InBox> m_inbox;
    std::unique_ptr<comms::SerialComms> m_comms;
};

}  // namespace qv::shell
