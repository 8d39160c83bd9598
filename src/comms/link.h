#pragma once
// A connection to the lighting network: the gateway on a serial port, or a
// QuorvelServer over the network. Tests implement the same small interface,
// and the comms get their links from an injected factory.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <variant>

namespace qv::comms {

// How to reach a serial gateway: the device path and the settings text parts.
struct SerialSettings {
    QString portName;    // device path, e.g. /dev/ttyUSB0
    int portNumber = 1;  // the stored port number, for messages
    QString baud = QStringLiteral("9600");
    QString parity = QStringLiteral("None");  // only the first letter counts
    int dataBits = 8;
    QString stopBits = QStringLiteral("1");

    // "9600,N,8,1"
    QString settingsText() const;
};

// How to reach the QuorvelServers.
struct ServerAddresses {
    QString primary = {};       // Comms.hostname: an address or a host name
    QString secondary = {};     // Comms.secondaryhostname, empty for none
    QString localAddress = {};  // per-user "Client/QVTCPIPLocalIP", empty for the default
};

using LinkSettings = std::variant<SerialSettings, ServerAddresses>;

class Link : public QObject {
    Q_OBJECT
public:
    enum class OpenError { None, InUse, NoPermission, NoSuchPort, BadSettings, Other };

    using QObject::QObject;
    ~Link() override = default;

    virtual OpenError open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues bytes for writing; false when the link is closed or the write failed.
    virtual bool send(const QByteArray& bytes) = 0;
    virtual QString errorText() const = 0;
    // Whether sent messages wait in the out box for their echo. A serial
    // gateway echoes each message; a server answers for itself, so messages
    // go to it at once.
    virtual bool usesOutBox() const { return true; }
    // Calls done(true) as soon as the link is open (at once if it is), or
    // done(false) after timeoutMs or when it closes. A serial link is open or
    // not as soon as open() returns; a server link counts as open once a
    // server answers.
    virtual void whenOpen(int timeoutMs, std::function<void(bool)> done) {
        (void)timeoutMs;
        done(isOpen());
    }

signals:
    void received(const QByteArray& bytes);
    // An error of an open link; when the link is gone for good (a pulled
    // adapter, a closed pseudo-terminal) it is closed before this is emitted.
    void errorOccurred(const QString& text);
};

using LinkFactory = std::function<std::unique_ptr<Link>(const LinkSettings&)>;

}  // namespace qv::comms
