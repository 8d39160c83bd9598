#include "macros/mail_message.h"

#include <QLocale>
#include <QRegularExpression>
#include <QUuid>

#include <cstdlib>

namespace qv::macros {

namespace {

bool isAscii(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() > 0x7E || (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
                                   c != QLatin1Char('\r')))
            return false;
    }
    return true;
}

// SMTP lines may not exceed 998 characters; longer ones go as base64.
bool hasLongLine(const QString& text) {
    qsizetype run = 0;
    for (QChar c : text) {
        run = (c == QLatin1Char('\n') || c == QLatin1Char('\r')) ? 0 : run + 1;
        if (run > 900) return true;
    }
    return false;
}

QByteArray headerText(const QString& value) {
    const QString line = oneLine(value);
    if (isAscii(line)) return line.toLatin1();
    return "=?UTF-8?B?" + line.toUtf8().toBase64() + "?=";
}

// Every line end as CRLF.
QByteArray crlfLines(const QByteArray& text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 40 + 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text.at(i + 1) == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray wrapped(const QByteArray& base64) {
    QByteArray out;
    for (qsizetype i = 0; i < base64.size(); i += 76) out += base64.mid(i, 76) + "\r\n";
    return out;
}

// The text part: its headers, a blank line and the body.
QByteArray bodyPart(const QString& body) {
    QByteArray part = "Content-Type: text/plain; charset=UTF-8\r\n";
    if (isAscii(body) && !hasLongLine(body)) {
        part += "Content-Transfer-Encoding: 7bit\r\n\r\n";
        part += crlfLines(body.toLatin1());
    } else {
        part += "Content-Transfer-Encoding: base64\r\n\r\n";
        part += wrapped(crlfLines(body.toUtf8()).toBase64());
    }
    if (!part.endsWith("\r\n")) part += "\r\n";
    return part;
}

}  // namespace

MailSettingsResult mailSettingsFrom(const store::ConfigSettings& config) {
    MailSettingsResult result;
    MailSettings& s = result.settings;
    s.host = config.mailhost.trimmed();
    s.port = config.mailport > 0 && config.mailport < 65536 ? config.mailport : 25;
    s.user = config.mailuser;
    s.password = config.mailpassword;
    s.sender = config.mailsender.trimmed();
    const QString tls = config.mailtls.trimmed().toLower();
    if (tls.isEmpty() || tls == QLatin1String("none")) {
        s.security = MailSettings::Security::None;
    } else if (tls == QLatin1String("starttls")) {
        s.security = MailSettings::Security::StartTls;
    } else if (tls == QLatin1String("tls") || tls == QLatin1String("ssl")) {
        s.security = MailSettings::Security::Tls;
    } else {
        result.error = QStringLiteral("the mail server's TLS mode '%1' is not one of none, starttls, tls")
                           .arg(config.mailtls);
    }
    return result;
}

QStringList recipientAddresses(const QString& receipients) {
    QStringList addresses;
    static const QRegularExpression separators(QStringLiteral("[;,\\r\\n]"));
    for (QString part : receipients.split(separators, Qt::SkipEmptyParts)) {
        part = part.trimmed();
        const qsizetype open = part.lastIndexOf(QLatin1Char('<'));
        const qsizetype close = part.lastIndexOf(QLatin1Char('>'));
        if (open >= 0 && close > open) part = part.mid(open + 1, close - open - 1).trimmed();
        if (!part.isEmpty()) addresses << part;
    }
    return addresses;
}

QString oneLine(const QString& text) {
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

QByteArray mailText(const MailMessage& message, const QDateTime& date, const QString& messageIdDomain) {
    QByteArray text;
    // RFC 5322 dates are in English whatever the machine's language.
    const int offset = date.offsetFromUtc() / 60;
    const QString zone =
        QString::asprintf("%c%02d%02d", offset < 0 ? '-' : '+', std::abs(offset) / 60, std::abs(offset) % 60);
    text += "Date: " + QLocale::c().toString(date, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")).toLatin1() +
            zone.toLatin1() + "\r\n";
    text += "From: " + headerText(message.from) + "\r\n";
    text += "To: " + headerText(message.toHeader) + "\r\n";
    text += "Subject: " + headerText(message.subject) + "\r\n";
    text += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + "@" +
            oneLine(messageIdDomain).toLatin1() + ">\r\n";
    text += "MIME-Version: 1.0\r\n";
    if (message.attachments.isEmpty()) {
        text += bodyPart(message.body);
        return text;
    }
    // Attachments make it multipart: the text first, then each file.
    const QByteArray boundary = "=_quorvel_" + QUuid::createUuid().toString(QUuid::Id128).toLatin1();
    text += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    text += "--" + boundary + "\r\n" + bodyPart(message.body);
    for (const MailAttachment& file : message.attachments) {
        QString name = oneLine(file.fileName);
        name.remove(QLatin1Char('"'));
        text += "--" + boundary + "\r\n";
        text += "Content-Type: application/octet-stream; name=\"" + headerText(name) + "\"\r\n";
        text += "Content-Disposition: attachment; filename=\"" + headerText(name) + "\"\r\n";
        text += "Content-Transfer-Encoding: base64\r\n\r\n";
        text += wrapped(file.data.toBase64());
    }
    text += "--" + boundary + "--\r\n";
    return text;
}

}  // namespace qv::macros
