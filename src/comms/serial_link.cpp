#include "comms/serial_link.h"

#include "comms/logging.h"

#include <QFile>

#include <poll.h>
#include <unistd.h>
#include <cerrno>

namespace qv::comms {

QString SerialSettings::settingsText() const {
    return QStringLiteral("%1,%2,%3,%4").arg(baud, parity.left(1), QString::number(dataBits), stopBits);
}

SerialLink::SerialLink(SerialSettings settings, QObject* parent)
    : Link(parent), m_settings(std::move(settings)) {
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = m_port.readAll();
        if (!bytes.isEmpty()) emit received(bytes);
    });
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // Failures while opening are open()'s answer; only a working port's
        // errors are news.
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !m_port.isOpen()) return;
        // A hung-up device reads as end of file, and Qt then names whatever
        // errno an earlier call left behind; the hang-up is the true reason.
        pollfd hangUp{static_cast<int>(m_port.handle()), POLLIN, 0};
        const QString text = ::poll(&hangUp, 1, 0) > 0 && (hangUp.revents & POLLHUP)
                                 ? QStringLiteral("the device hung up")
                                 : m_port.errorString();
        qCWarning(lcComms) << "serial port" << m_settings.portName << text;
        // A pulled USB adapter or a vanished pseudo-terminal reports some
        // error on every pass of the event loop while the port stays open, so
        // any error closes it: once, and the owner opens it again.
        m_port.close();
        emit errorOccurred(text);
    });
}

bool SerialLink::applySettings() {
    bool ok = false;
    const int baud = m_settings.baud.trimmed().toInt(&ok);
    if (!ok || baud <= 0 || !m_port.setBaudRate(baud)) return false;

    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (m_settings.parity.trimmed().left(1).toUpper().at(0).toLatin1()) {
        case 'N':
            parity = QSerialPort::NoParity;
            break;
        case 'E':
            parity = QSerialPort::EvenParity;
            break;
        case 'O':
            parity = QSerialPort::OddParity;
            break;
        case 'M':
            parity = QSerialPort::MarkParity;
            break;
        case 'S':
            parity = QSerialPort::SpaceParity;
            break;
        default:
            return false;
    }
    if (m_settings.dataBits < 5 || m_settings.dataBits > 8) return false;
    const QString stop = m_settings.stopBits.trimmed();
    const QSerialPort::StopBits stopBits = stop == QLatin1String("2")     ? QSerialPort::TwoStop
                                           : stop == QLatin1String("1.5") ? QSerialPort::OneAndHalfStop
                                                                          : QSerialPort::OneStop;
    return m_port.setParity(parity) &&
           m_port.setDataBits(static_cast<QSerialPort::DataBits>(m_settings.dataBits)) &&
           m_port.setStopBits(stopBits) && m_port.setFlowControl(QSerialPort::NoFlowControl);
}

Link::OpenError SerialLink::open() {
    if (m_port.isOpen()) return OpenError::InUse;
    m_port.setPortName(m_settings.portName);
    if (!m_port.open(QIODevice::ReadWrite)) {
        switch (m_port.error()) {
            case QSerialPort::PermissionError: {
                // Qt says "permission" both for a port another program holds and
                // for a device this user may not open (not in the dialout group).
                const QByteArray path = QFile::encodeName(m_settings.portName);
                if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES)
                    return OpenError::NoPermission;
                return OpenError::InUse;
            }
            case QSerialPort::DeviceNotFoundError:
                return OpenError::NoSuchPort;
            default:
                return OpenError::Other;
        }
    }
    if (!applySettings()) {
        m_port.close();
        return OpenError::BadSettings;
    }
    m_port.clear();
    return OpenError::None;
}

void SerialLink::close() {
    if (m_port.isOpen()) m_port.close();
}

bool SerialLink::send(const QByteArray& bytes) {
    return m_port.isOpen() && m_port.write(bytes) == bytes.size();
}

LinkFactory SerialLink::factory() {
    return [](const LinkSettings& settings) -> std::unique_ptr<Link> {
        const auto* serial = std::get_if<SerialSettings>(&settings);
        return serial ? std::make_unique<SerialLink>(*serial) : nullptr;
    };
}

}  // namespace qv::comms
