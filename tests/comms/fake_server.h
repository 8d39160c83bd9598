#pragma once
// A QuorvelServer played by the test on loopback: it keeps every datagram
// and, while answering, replies "OK   :" (or a version text) at once.

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <vector>

namespace qv::test {

class FakeServer {
public:
    FakeServer() {
        m_socket.bind(QHostAddress::LocalHost, 0);
        QObject::connect(&m_socket, &QUdpSocket::readyRead, &m_socket, [this] {
            while (m_socket.hasPendingDatagrams()) {
                const QNetworkDatagram d = m_socket.receiveDatagram();
                if (!d.isValid()) break;
                received.push_back(d.data());
                clientAddress = d.senderAddress();
                clientPort = static_cast<quint16>(d.senderPort());
                if (!answering) continue;
                const bool version = d.data().startsWith("COMMAND:REQUESTQVELSERVERVERSION");
                say(version && !versionText.isEmpty() ? versionText : QByteArray("OK   :"));
            }
        });
    }

    quint16 port() const { return m_socket.localPort(); }
    // Sends to wherever the last request came from.
    void say(const QByteArray& text) { m_socket.writeDatagram(text, clientAddress, clientPort); }

    int count(const QByteArray& prefix) const {
        int n = 0;
        for (const QByteArray& d : received) n += d.startsWith(prefix) ? 1 : 0;
        return n;
    }

    bool answering = true;
    QByteArray versionText;  // empty: a version request gets "OK   :"
    std::vector<QByteArray> received;
    QHostAddress clientAddress;
    quint16 clientPort = 0;

private:
    QUdpSocket m_socket;
};

}  // namespace qv::test
