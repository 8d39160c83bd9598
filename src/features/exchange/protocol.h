#pragma once
// The item exchange's line protocol, shared by the program and quorvelctl.
//
// A client connects to the local socket and sends one request a line: UTF-8
// text ended by LF (a CR before the LF is dropped), at most kMaxLineBytes
// bytes. Each request gets exactly one reply line:
//
//   GET item            OK <text>     the item's text ("OK" alone when empty)
//   SET item [value]    OK            the value is the rest of the line after
//                                     the single space that follows the item
//   WATCH item          OK <text>     the item's text now; from then on the
//                                     client is sent "CHANGED item text" each
//                                     time the item's text changes
//   UNWATCH item        OK
//   RUN macro name      OK            the same as SET Macro macro name
//   TOPIC               OK Quorvel
//
// Anything that fails is answered "ERR reason" and the connection stays open.
// Commands and item names are not case-sensitive; items are reported by
// their own spelling ("StatusArea12"). CHANGED lines may arrive between a
// request and its reply, so a client tells them apart by their first word.

#include <QByteArray>
#include <QString>

#include <optional>

namespace qv::exchange {

inline constexpr int kMaxLineBytes = 1024;
inline constexpr char kTopic[] = "Quorvel";

enum class Command { Get, Set, Watch, Unwatch, Run, Topic };

struct Request {
    Command command = Command::Get;
    QString item;   // GET, SET, WATCH, UNWATCH
    QString value;  // SET: the value; RUN: the macro name
};

// Either a request or the reason it could not be read.
struct ParsedRequest {
    std::optional<Request> request;
    QString error;
};
ParsedRequest parseRequest(const QByteArray& line);

// The request line for a client to send (without the LF). Values holding a
// line break cannot be sent: nothing is returned for them.
std::optional<QByteArray> requestLine(Command command, const QString& item = {}, const QString& value = {});

// Reply lines, each ended by LF. Line breaks inside the text become spaces so
// that a reply is always one line.
QByteArray okLine(const QString& text = {});
QByteArray errLine(const QString& reason);
QByteArray changedLine(const QString& item, const QString& value);

// A line from the program as the client reads it (without its LF).
struct Reply {
    enum class Kind { Ok, Err, Changed, Unknown };
    Kind kind = Kind::Unknown;
    QString item;  // CHANGED only
    QString text;  // OK: the text; ERR: the reason; CHANGED: the item's text
};
Reply parseReply(const QByteArray& line);

}  // namespace qv::exchange
