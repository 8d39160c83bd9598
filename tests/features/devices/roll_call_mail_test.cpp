// The roll-call report e-mail reaching a real SMTP server on loopback
// (aiosmtpd storing into a maildir), sent by a small libcurl sender that
// stands in for the program's mail path.

#include "roll_call_fixture.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

#include <curl/curl.h>

namespace qv::devices {
namespace {

using test::RollCallTest;

class SmtpServer {
public:
    explicit SmtpServer(const QString& maildir) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port = probe.serverPort();
        probe.close();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(QUORVEL_PYTHON3),
                        {"-m", "aiosmtpd", "-n", "-l", QStringLiteral("127.0.0.1:%1").arg(port), "-c",
                         "aiosmtpd.handlers.Mailbox", maildir});
    }
    ~SmtpServer() {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    bool waitUntilListening() {
        return test::waitUntil(
                   [&] {
                       if (m_process.state() == QProcess::NotRunning) return true;
                       QTcpSocket socket;
                       socket.connectToHost(QHostAddress::LocalHost, port);
                       return socket.waitForConnected(100);
                   },
                   10000) &&
               m_process.state() == QProcess::Running;
    }

    quint16 port = 0;

private:
    QProcess m_process;
};

// What the program's mail path does with the report: one message with an
// empty text and the results file attached.
QString sendWithCurl(quint16 port, const QString& recipients, const QString& subject, const QString& body,
                     const QString& attachment) {
    CURL* curl = curl_easy_init();
    if (!curl) return "no curl";
    const QByteArray url = QStringLiteral("smtp://127.0.0.1:%1").arg(port).toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, "<quorvel@localhost>");
    curl_slist* to = nullptr;
    std::vector<QByteArray> keep;
    for (const QString& r : recipients.split(QRegularExpression("[;,]"), Qt::SkipEmptyParts)) {
        keep.push_back(("<" + r.trimmed() + ">").toUtf8());
        to = curl_slist_append(to, keep.back().constData());
    }
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, to);
    curl_slist* headers = nullptr;
    const QByteArray subjectHeader = ("Subject: " + subject).toUtf8();
    const QByteArray toHeader = ("To: " + recipients).toUtf8();
    headers = curl_slist_append(headers, subjectHeader.constData());
    headers = curl_slist_append(headers, toHeader.constData());
    headers = curl_slist_append(headers, "From: <quorvel@localhost>");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_mime* mime = curl_mime_init(curl);
    curl_mimepart* text = curl_mime_addpart(mime);
    const QByteArray bodyBytes = body.toUtf8();
    curl_mime_data(text, bodyBytes.constData(), static_cast<size_t>(bodyBytes.size()));
    curl_mimepart* file = curl_mime_addpart(mime);
    const QByteArray path = QFile::encodeName(attachment);
    curl_mime_filedata(file, path.constData());
    curl_mime_encoder(file, "base64");
    curl_easy_setopt(curl, CURLOPT_MIMEPOST, mime);
    const CURLcode rc = curl_easy_perform(curl);
    curl_mime_free(mime);
    curl_slist_free_all(headers);
    curl_slist_free_all(to);
    curl_easy_cleanup(curl);
    return rc == CURLE_OK ? QString() : QString::fromUtf8(curl_easy_strerror(rc));
}

// The bytes of the attachment with the given file name in a MIME message.
QByteArray attachmentOf(const QByteArray& message, const QByteArray& fileName) {
    const int named = message.indexOf("filename=\"" + fileName + "\"");
    if (named < 0) return {};
    int start = message.indexOf("\n\n", named);
    int skip = 2;
    const int crlf = message.indexOf("\r\n\r\n", named);
    if (crlf >= 0 && (start < 0 || crlf < start)) {
        start = crlf;
        skip = 4;
    }
    const int end = message.indexOf("\n--", start + skip);
    return QByteArray::fromBase64(message.mid(start + skip, end - start - skip));
}

TEST_F(RollCallTest, TheReportMailReachesARealServerWithItsSubjectAndAttachment) {
    const QString maildir = QDir(dir.path()).filePath("maildir");
    SmtpServer server(maildir);
    ASSERT_TRUE(server.waitUntilListening()) << "aiosmtpd did not start";

    addMember("Lobby", 1, 18);
    addMember("Lobby", 1, 7);
    addMember("Lobby", 2, 5);
    addActions("Lobby", "ops@example.com", "Alarm");
    std::vector<QString> sendErrors;
    wire = std::make_unique<test::SimWire>(network(), clock, monitor);
    runner = std::make_unique<RollCallRunner>(
        *main, paths, monitor, clock, wire->sender(), macros,
        [&](const QString& to, const QString& subject, const QString& body, const QString& attachment) {
            sendErrors.push_back(sendWithCurl(server.port, to, subject, body, attachment));
        });
    wire->inbox.addReactions(runner.get());
    ASSERT_TRUE(runner->RollCall("Lobby").ok);
    clock.advance(6000);

    ASSERT_EQ(sendErrors, std::vector<QString>{QString()});
    EXPECT_EQ(macros.ran, QStringList{"Alarm"});
    QStringList delivered;
    ASSERT_TRUE(test::waitUntil([&] {
        delivered = QDir(maildir + "/new").entryList(QDir::Files);
        return !delivered.isEmpty();
    }));
    ASSERT_EQ(delivered.size(), 1);
    QFile mail(maildir + "/new/" + delivered.front());
    ASSERT_TRUE(mail.open(QIODevice::ReadOnly));
    const QByteArray message = mail.readAll();
    EXPECT_TRUE(message.contains("Subject: Lobby had 1 boxes not respond"))
        << message.left(600).toStdString();
    EXPECT_TRUE(message.contains("To: ops@example.com"));

    QFile results(runner->resultsPath("Lobby"));
    ASSERT_TRUE(results.open(QIODevice::ReadOnly));
    const QByteArray attached = attachmentOf(message, "Lobby.db");
    EXPECT_TRUE(attached.startsWith("SQLite format 3"));
    EXPECT_EQ(attached, results.readAll());
}

}  // namespace
}  // namespace qv::devices
