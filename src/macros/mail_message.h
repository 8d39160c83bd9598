#pragma once
// A stored e-mail turned into what an SMTP server takes: the envelope
// addresses and the message text. Pure text work, so header injection and
// address parsing are tested without a server.

#include "store/settings_loaders.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace qv::macros {

struct MailSettings {
    enum class Security { None, StartTls, Tls };
    QString host;  // empty: mail is not set up
    int port = 25;
    Security security = Security::None;
    QString user;  // empty: no login
    QString password;
    QString sender;  // the From address; a default is made from the host name when empty
    int connectTimeoutSeconds = 15;
    int timeoutSeconds = 60;
};

// From the Config fields. An unknown TLS word is refused (error set) rather
// than falling back to a plain connection that would send the password in clear.
struct MailSettingsResult {
    MailSettings settings;
    QString error;
};
MailSettingsResult mailSettingsFrom(const store::ConfigSettings& config);

// The envelope recipients of a stored Receipients text: addresses separated
// by ";" or ",", each either bare or in angle brackets after a name.
QStringList recipientAddresses(const QString& receipients);

// A header value on one line: line breaks (which would start a new header)
// become blanks.
QString oneLine(const QString& text);

// A file sent with a message (the roll-call report's results file).
struct MailAttachment {
    QString fileName;  // the name the recipient sees
    QByteArray data;
};

struct MailMessage {
    QString from;
    QStringList to;  // envelope addresses
    QString toHeader;
    QString subject;
    QString body;
    QList<MailAttachment> attachments;  // none: a plain text message
};

// The message as sent: headers, a blank line, the body with CRLF line ends.
// Non-ASCII subjects are encoded words; a non-ASCII body goes as base64.
QByteArray mailText(const MailMessage& message, const QDateTime& date, const QString& messageIdDomain);

}  // namespace qv::macros
