#pragma once
// A connection to the lighting network's gateway. The serial link is the
// one the program ships; tests and other transports implement the same
// small interface, and the engine gets its links from an injected factory.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

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

signals:
    void received(const QByteArray& bytes);
    // An error of an open link; when the link is gone for good (a pulled
    // adapter, a closed pseudo-terminal) it is closed before this is emitted.
    void errorOccurred(const QString& text);
};

using LinkFactory = std::function<std::unique_ptr<Link>(const SerialSettings&)>;

}  // namespace qv::comms
