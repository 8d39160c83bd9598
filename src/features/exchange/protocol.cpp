#include "features/exchange/protocol.h"

#include <QStringDecoder>

namespace qv::exchange {

namespace {

// Offending text is quoted back, but never at length.
constexpr int kQuoteChars = 40;

QString quoted(QStringView text) {
    if (text.size() <= kQuoteChars) return QLatin1Char('"') + text.toString() + QLatin1Char('"');
    return QLatin1Char('"') + text.left(kQuoteChars).toString() + QStringLiteral("...\"");
}

bool hasControlCharacters(QStringView text) {
    for (const QChar c : text) {
        if (c == QLatin1Char('\t')) continue;
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return true;
    }
    return false;
}

std::optional<Command> commandNamed(QStringView word) {
    struct Entry {
        const char* name;
        Command command;
    };
    static constexpr Entry kCommands[] = {
        {"GET", Command::Get},         {"SET", Command::Set}, {"WATCH", Command::Watch},
        {"UNWATCH", Command::Unwatch}, {"RUN", Command::Run}, {"TOPIC", Command::Topic},
    };
    for (const Entry& e : kCommands)
        if (word.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0) return e.command;
    return std::nullopt;
}

QString commandName(Command command) {
    switch (command) {
        case Command::Get:
            return QStringLiteral("GET");
        case Command::Set:
            return QStringLiteral("SET");
        case Command::Watch:
            return QStringLiteral("WATCH");
        case Command::Unwatch:
            return QStringLiteral("UNWATCH");
        case Command::Run:
            return QStringLiteral("RUN");
        case Command::Topic:
            return QStringLiteral("TOPIC");
    }
    return {};
}

ParsedRequest failure(const QString& reason) {
    return ParsedRequest{std::nullopt, reason};
}

QString oneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

}  // namespace

ParsedRequest parseRequest(const QByteArray& line) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(line);
    if (decoder.hasError()) return failure(QStringLiteral("the line is not UTF-8 text"));
    if (hasControlCharacters(text)) return failure(QStringLiteral("the line holds control characters"));
    if (text.trimmed().isEmpty()) return failure(QStringLiteral("empty line"));

    const qsizetype space = text.indexOf(QLatin1Char(' '));
    const QStringView word = QStringView(text).left(space < 0 ? text.size() : space);
    const QStringView rest = space < 0 ? QStringView() : QStringView(text).mid(space + 1);
    const std::optional<Command> command = commandNamed(word);
    if (!command) return failure(QStringLiteral("unknown command ") + quoted(word));

    Request request;
    request.command = *command;
    const QString name = commandName(*command);
    switch (*command) {
        case Command::Topic:
            if (!rest.trimmed().isEmpty()) return failure(QStringLiteral("TOPIC takes nothing after it"));
            return ParsedRequest{request, {}};
        case Command::Run:
            // Macro names may hold spaces: the whole rest is the name.
            request.value = rest.trimmed().toString();
            if (request.value.isEmpty()) return failure(QStringLiteral("RUN needs a macro name"));
            return ParsedRequest{request, {}};
        case Command::Get:
        case Command::Watch:
        case Command::Unwatch: {
            const QStringView item = rest.trimmed();
            if (item.isEmpty()) return failure(name + QStringLiteral(" needs an item name"));
            if (item.contains(QLatin1Char(' ')) || item.contains(QLatin1Char('\t')))
                return failure(name + QStringLiteral(" takes one item name and nothing after it"));
            request.item = item.toString();
            return ParsedRequest{request, {}};
        }
        case Command::Set: {
            const qsizetype itemEnd = rest.indexOf(QLatin1Char(' '));
            const QStringView item = itemEnd < 0 ? rest : rest.left(itemEnd);
            if (item.trimmed().isEmpty()) return failure(QStringLiteral("SET needs an item name"));
            request.item = item.trimmed().toString();
            request.value = itemEnd < 0 ? QString() : rest.mid(itemEnd + 1).toString();
            return ParsedRequest{request, {}};
        }
    }
    return failure(QStringLiteral("unknown command ") + quoted(word));
}

std::optional<QByteArray> requestLine(Command command, const QString& item, const QString& value) {
    if (item.contains(QLatin1Char('\n')) || item.contains(QLatin1Char('\r')) ||
        value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
        return std::nullopt;
    QString line = commandName(command);
    switch (command) {
        case Command::Topic:
            break;
        case Command::Run:
            line += QLatin1Char(' ') + value;
            break;
        case Command::Set:
            line += QLatin1Char(' ') + item + QLatin1Char(' ') + value;
            break;
        default:
            line += QLatin1Char(' ') + item;
            break;
    }
    return line.toUtf8();
}

QByteArray okLine(const QString& text) {
    if (text.isEmpty()) return QByteArrayLiteral("OK\n");
    return "OK " + oneLine(text).toUtf8() + '\n';
}

QByteArray errLine(const QString& reason) {
    return "ERR " + oneLine(reason).toUtf8() + '\n';
}

QByteArray changedLine(const QString& item, const QString& value) {
    return "CHANGED " + item.toUtf8() + ' ' + oneLine(value).toUtf8() + '\n';
}

Reply parseReply(const QByteArray& line) {
    const QString text = QString::fromUtf8(line);
    Reply reply;
    if (text == QLatin1String("OK")) {
        reply.kind = Reply::Kind::Ok;
    } else if (text.startsWith(QLatin1String("OK "))) {
        reply.kind = Reply::Kind::Ok;
        reply.text = text.mid(3);
    } else if (text.startsWith(QLatin1String("ERR"))) {
        reply.kind = Reply::Kind::Err;
        reply.text = text.mid(3).trimmed();
    } else if (text.startsWith(QLatin1String("CHANGED "))) {
        const QString rest = text.mid(8);
        const qsizetype space = rest.indexOf(QLatin1Char(' '));
        reply.kind = Reply::Kind::Changed;
        reply.item = space < 0 ? rest : rest.left(space);
        reply.text = space < 0 ? QString() : rest.mid(space + 1);
    } else {
        reply.text = text;
    }
    return reply;
}

}  // namespace qv::exchange
