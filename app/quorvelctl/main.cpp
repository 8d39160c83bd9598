// quorvelctl: reads, writes and watches the items of a running Quorvel
// through its item exchange socket.

#include "features/exchange/line_reader.h"
#include "features/exchange/protocol.h"
#include "features/exchange/socket_path.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QStringList>

#include <cstdio>
#include <deque>
#include <functional>
#include <optional>

namespace {

using namespace qv::exchange;

constexpr int kConnectMs = 2000;
constexpr int kReplyMs = 10000;

enum Exit { kOk = 0, kRefused = 1, kUsage = 2, kNoProgram = 3 };

const char kUsageText[] =
    "Usage: quorvelctl [--socket PATH] COMMAND\n"
    "\n"
    "Reads and writes the items of a running Quorvel (topic \"Quorvel\").\n"
    "\n"
    "Commands:\n"
    "  get ITEM           print the item's text\n"
    "  set ITEM VALUE     write the item (SetArea12 5, SetAreaPreset 12,5, Macro Lobby On)\n"
    "  watch ITEM...      print the item's text each time it changes, until interrupted;\n"
    "                     with several items each line is \"ITEM TEXT\"\n"
    "  run MACRO          start the macro of that name\n"
    "\n"
    "Items: SetArea1..SetArea255, Area1, SetAreaPreset, RequestAreaPreset, Macro,\n"
    "StatusArea1..StatusArea255, StatusofAreaPreset.\n"
    "\n"
    "Options:\n"
    "  --socket PATH      the program's socket (default: quorvel-exchange in $XDG_RUNTIME_DIR)\n"
    "  -h, --help         show this text\n"
    "\n"
    "Exit status: 0 done, 1 refused by the program, 2 bad arguments, 3 the program is not\n"
    "running or stopped answering.\n";

void print(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), to);
    std::fflush(to);
}

int usageError(const QString& text) {
    print(stderr, QStringLiteral("quorvelctl: ") + text);
    print(stderr, QStringLiteral("Try 'quorvelctl --help'."));
    return kUsage;
}

struct Invocation {
    QString socketPath;
    QString command;
    QStringList operands;
};

// Nothing when the arguments were not usable; the error is then printed.
std::optional<Invocation> parseArguments(const QStringList& args, int* exitCode) {
    Invocation inv;
    qsizetype i = 0;
    for (; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            std::fputs(kUsageText, stdout);
            *exitCode = kOk;
            return std::nullopt;
        }
        if (a == QLatin1String("--")) {
            ++i;
            break;
        }
        if (a == QLatin1String("--socket")) {
            if (i + 1 >= args.size()) {
                *exitCode = usageError(QStringLiteral("--socket needs a path"));
                return std::nullopt;
            }
            inv.socketPath = args.at(++i);
            continue;
        }
        if (a.startsWith(QLatin1String("--socket="))) {
            inv.socketPath = a.mid(9);
            continue;
        }
        if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            *exitCode = usageError(QStringLiteral("unknown option ") + a);
            return std::nullopt;
        }
        break;
    }
    if (i >= args.size()) {
        *exitCode = usageError(QStringLiteral("no command given"));
        return std::nullopt;
    }
    inv.command = args.at(i).toLower();
    inv.operands = args.mid(i + 1);
    return inv;
}

class Connection {
public:
    explicit Connection(QLocalSocket& socket) : m_socket(socket), m_reader(kMaxLineBytes * 64) {}

    bool send(const QByteArray& line) {
        m_socket.write(line + '\n');
        return m_socket.waitForBytesWritten(kReplyMs) || m_socket.bytesToWrite() == 0;
    }

    // The next line from the program; nothing when it hung up or (with a
    // timeout) went quiet.
    std::optional<QByteArray> next(int timeoutMs) {
        while (m_lines.empty()) {
            if (m_socket.bytesAvailable() == 0 && !m_socket.waitForReadyRead(timeoutMs)) return std::nullopt;
            for (auto& line : m_reader.feed(m_socket.readAll()))
                if (!line.tooLong) m_lines.push_back(line.text);
        }
        QByteArray line = m_lines.front();
        m_lines.pop_front();
        return line;
    }

private:
    QLocalSocket& m_socket;
    LineReader m_reader;
    std::deque<QByteArray> m_lines;
};

QString notRunning(const QLocalSocket& socket, const QString& path) {
    QString why;
    switch (socket.error()) {
        case QLocalSocket::ServerNotFoundError:
            why = QStringLiteral("there is no socket at %1").arg(path);
            break;
        case QLocalSocket::ConnectionRefusedError:
            why = QStringLiteral("nothing answers at %1").arg(path);
            break;
        case QLocalSocket::SocketAccessError:
            why = QStringLiteral("%1 may not be used by this user").arg(path);
            break;
        default:
            why = QStringLiteral("%1: %2").arg(path, socket.errorString());
            break;
    }
    return QStringLiteral("Quorvel is not running (%1)").arg(why);
}

int noAnswer(const QString& what) {
    print(stderr, QStringLiteral("quorvelctl: ") + what);
    return kNoProgram;
}

// Sends one request and waits for its OK or ERR; CHANGED lines met on the
// way go to onChanged.
int request(Connection& conn, const QByteArray& line, QString* okText,
            const std::function<void(const Reply&)>& onChanged = {}) {
    if (!conn.send(line)) return noAnswer(QStringLiteral("the request could not be sent"));
    for (;;) {
        const std::optional<QByteArray> raw = conn.next(kReplyMs);
        if (!raw) return noAnswer(QStringLiteral("Quorvel did not answer"));
        const Reply reply = parseReply(*raw);
        switch (reply.kind) {
            case Reply::Kind::Ok:
                if (okText) *okText = reply.text;
                return kOk;
            case Reply::Kind::Err:
                print(stderr, QStringLiteral("quorvelctl: ") + reply.text);
                return kRefused;
            case Reply::Kind::Changed:
                if (onChanged) onChanged(reply);
                break;
            case Reply::Kind::Unknown:
                break;
        }
    }
}

int watch(Connection& conn, const QStringList& items) {
    const bool named = items.size() > 1;
    const auto show = [named](const Reply& r) {
        print(stdout, named ? r.item + QLatin1Char(' ') + r.text : r.text);
    };
    for (const QString& item : items) {
        const auto line = requestLine(Command::Watch, item);
        if (!line) return usageError(QStringLiteral("an item name cannot hold a line break"));
        if (const int code = request(conn, *line, nullptr, show); code != kOk) return code;
    }
    for (;;) {
        const std::optional<QByteArray> raw = conn.next(-1);
        if (!raw) return noAnswer(QStringLiteral("Quorvel closed the connection"));
        const Reply reply = parseReply(*raw);
        if (reply.kind == Reply::Kind::Changed) show(reply);
    }
}

int run(const Invocation& inv) {
    std::optional<QByteArray> line;
    const QString& cmd = inv.command;
    const QStringList& ops = inv.operands;
    if (cmd == QLatin1String("get")) {
        if (ops.size() != 1) return usageError(QStringLiteral("get takes one item name"));
        line = requestLine(Command::Get, ops.at(0));
    } else if (cmd == QLatin1String("set")) {
        if (ops.size() < 2) return usageError(QStringLiteral("set takes an item name and a value"));
        line = requestLine(Command::Set, ops.at(0), ops.mid(1).join(QLatin1Char(' ')));
    } else if (cmd == QLatin1String("run")) {
        if (ops.isEmpty()) return usageError(QStringLiteral("run takes a macro name"));
        line = requestLine(Command::Run, {}, ops.join(QLatin1Char(' ')));
    } else if (cmd == QLatin1String("watch")) {
        if (ops.isEmpty()) return usageError(QStringLiteral("watch takes at least one item name"));
    } else {
        return usageError(QStringLiteral("unknown command ") + inv.command);
    }
    if (cmd != QLatin1String("watch") && !line)
        return usageError(QStringLiteral("a name or value cannot hold a line break"));

    const QString path = inv.socketPath.isEmpty() ? defaultSocketPath() : inv.socketPath;
    if (path.isEmpty()) return noAnswer(QStringLiteral("there is no runtime directory; give --socket PATH"));
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kConnectMs)) return noAnswer(notRunning(socket, path));

    Connection conn(socket);
    if (cmd == QLatin1String("watch")) return watch(conn, ops);
    QString text;
    const int code = request(conn, *line, &text);
    if (code == kOk && cmd == QLatin1String("get")) print(stdout, text);
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int exitCode = kOk;
    const std::optional<Invocation> inv = parseArguments(app.arguments().mid(1), &exitCode);
    if (!inv) return exitCode;
    return run(*inv);
}
