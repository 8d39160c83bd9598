#pragma once
// A client socket on loopback that keeps every datagram it is sent.

#include "support/qt_support.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

#include <vector>

namespace qv::test {

class UdpClient {
    // First of all: sockets made before the application object never hear anything.
    struct App {
        App() { qtApp(); }
    } m_app;

public:
    UdpClient() {
        m_socket.bind(QHostAddress::LocalHost, 0);
        QObject::connect(&m_socket, &QUdpSocket::readyRead, &m_socket, [this] {
            while (m_socket.hasPendingDatagrams()) {
                const QNetworkDatagram d = m_socket.receiveDatagram();
                if (!d.isValid()) break;
                received.push_back(d.data());
            }
        });
    }

    void send(const QByteArray& text, quint16 port) {
        m_socket.writeDatagram(text, QHostAddress::LocalHost, port);
    }
    // Sends and waits until `count` more datagrams have come back.
    bool ask(const QByteArray& text, quint16 port, std::size_t count = 1, int ms = 2000) {
        const std::size_t before = received.size();
        send(text, port);
        return waitUntil([&] { return received.size() >= before + count; }, ms);
    }
    quint16 port() const { return m_socket.localPort(); }

    std::vector<QByteArray> received;

private:
    QUdpSocket m_socket;
};

}  // namespace qv::test
