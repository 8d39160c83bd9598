#pragma once
// A client of the item exchange inside the test process: it waits through
// the event loop, since the server runs on the same thread.

#include "support/qt_support.h"

#include <QLocalSocket>

#include <optional>

namespace qv::exchange::test {

class TestClient {
public:
    explicit TestClient(const QString& path) { socket.connectToServer(path); }

    bool connected() {
        return qv::test::waitUntil([&] { return socket.state() == QLocalSocket::ConnectedState; }, 3000);
    }
    void send(const QByteArray& bytes) {
        socket.write(bytes);
        socket.flush();
    }
    // The next line from the server, without its LF.
    std::optional<QByteArray> line(int timeoutMs = 3000) {
        if (!qv::test::waitUntil([&] { return socket.canReadLine(); }, timeoutMs)) return std::nullopt;
        QByteArray text = socket.readLine();
        text.chop(1);
        return text;
    }
    QByteArray ask(const QByteArray& request) {
        send(request + '\n');
        return line().value_or("<no reply>");
    }
    bool closedByServer(int timeoutMs = 3000) {
        return qv::test::waitUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; },
                                   timeoutMs);
    }

    QLocalSocket socket;
};

}  // namespace qv::exchange::test
