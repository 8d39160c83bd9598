#include "features/exchange/exchange_session.h"

#include "features/exchange/protocol.h"

namespace qv::exchange {

namespace {

QString unknownItem(const QString& name) {
    constexpr int kQuoteChars = 40;
    const QString shown = name.size() <= kQuoteChars ? name : name.left(kQuoteChars) + QStringLiteral("...");
    return QStringLiteral("unknown item \"") + shown + QLatin1Char('"');
}

}  // namespace

QByteArray ExchangeSession::handle(const LineReader::Line& line) {
    if (line.tooLong) return failed(QStringLiteral("line too long (at most %1 bytes)").arg(kMaxLineBytes));
    const ParsedRequest parsed = parseRequest(line.text);
    if (!parsed.request) return failed(parsed.error);
    const Request& request = *parsed.request;

    switch (request.command) {
        case Command::Topic:
            return okLine(QLatin1String(kTopic));
        case Command::Run: {
            const ExchangeItems::WriteResult result =
                m_items.write(ItemRef{ItemKind::Macro, 0}, request.value);
            return result.ok ? okLine() : failed(result.error);
        }
        default:
            break;
    }

    const std::optional<ItemRef> item = parseItemName(request.item);
    if (!item) return failed(unknownItem(request.item));
    switch (request.command) {
        case Command::Get:
            return okLine(m_items.read(*item));
        case Command::Watch:
            m_watched.insert(item->key());
            return okLine(m_items.read(*item));
        case Command::Unwatch:
            m_watched.erase(item->key());
            return okLine();
        case Command::Set: {
            const ExchangeItems::WriteResult result = m_items.write(*item, request.value);
            return result.ok ? okLine() : failed(result.error);
        }
        default:
            break;
    }
    return failed(QStringLiteral("unknown command"));
}

QByteArray ExchangeSession::failed(const QString& reason) {
    if (m_errors++ == 0) m_firstError = reason;
    return errLine(reason);
}

}  // namespace qv::exchange
