#pragma once
// The gateway on a serial port (or a USB-serial adapter, or a pseudo-terminal).

#include "comms/link.h"

#include <QSerialPort>

namespace qv::comms {

class SerialLink final : public Link {
    Q_OBJECT
public:
    explicit SerialLink(SerialSettings settings, QObject* parent = nullptr);

    OpenError open() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    bool send(const QByteArray& bytes) override;
    QString errorText() const override { return m_port.errorString(); }

    // Makes serial links; server addresses make none (the engine makes its server links).
    static LinkFactory factory();

private:
    bool applySettings();

    SerialSettings m_settings;
    QSerialPort m_port;
};

}  // namespace qv::comms
