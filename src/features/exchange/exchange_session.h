#pragma once
// One client's conversation: a request line in, one reply line out, and the
// items the client watches. No sockets here, so every request can be tried
// without a connection.

#include "features/exchange/exchange_items.h"
#include "features/exchange/line_reader.h"

#include <QByteArray>
#include <QString>

#include <set>

namespace qv::exchange {

class ExchangeSession {
public:
    explicit ExchangeSession(ExchangeItems& items) : m_items(items) {}

    // The reply line (with its LF) to one line of the client.
    QByteArray handle(const LineReader::Line& line);

    bool watches(const ItemRef& item) const { return m_watched.count(item.key()) != 0; }
    std::size_t watchCount() const { return m_watched.size(); }

    // Set when a line could not be used: the reason of the first one.
    const QString& firstError() const { return m_firstError; }
    int errorCount() const { return m_errors; }

private:
    QByteArray failed(const QString& reason);

    ExchangeItems& m_items;
    std::set<int> m_watched;
    QString m_firstError;
    int m_errors = 0;
};

}  // namespace qv::exchange
