// E-mail lines: the message text and envelope built from a stored e-mail,
// the mail settings from Config, and real sending to an SMTP server on
// loopback (aiosmtpd); failures become "ERROR ***" records and the macro
// goes on.

#include "pool_fixture.h"

#include "macros/email_action.h"
#include "macros/mail_message.h"
#include "macros/smtp_mailer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTimeZone>
#include "support/case_names.h"

namespace qv::macros::test {
namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

// A small SMTP server that appends every message it accepts to a file as
// one JSON line: envelope sender, recipients and the message text.
const char* const kServerScript = R"PY(
import json, socket, sys
from aiosmtpd.controller import Controller

out = sys.argv[1]

class Handler:
    async def handle_DATA(self, server, session, envelope):
        with open(out, 'a', encoding='utf-8') as f:
            f.write(json.dumps({'from': envelope.mail_from, 'to': envelope.rcpt_tos,
                                'data': envelope.content.decode('utf-8', 'replace')}) + '\n')
        return '250 Message accepted for delivery'

probe = socket.socket()
probe.bind(('127.0.0.1', 0))
port = probe.getsockname()[1]
probe.close()
controller = Controller(Handler(), hostname='127.0.0.1', port=port)
controller.start()
print(port, flush=True)
sys.stdin.read()
controller.stop()
)PY";

class SmtpServer {
public:
    explicit SmtpServer(const QString& dir) : m_out(dir + QStringLiteral("/mail.jsonl")) {
        QFile script(dir + QStringLiteral("/smtp_server.py"));
        if (!script.open(QIODevice::WriteOnly)) return;
        script.write(kServerScript);
        script.close();
        m_process.start(kPython, {script.fileName(), m_out});
        if (!m_process.waitForStarted(5000)) return;
        qv::test::waitUntil([this] { return m_process.canReadLine(); }, 10000);
        m_port = QString::fromLatin1(m_process.readLine()).trimmed().toInt();
    }
    ~SmtpServer() {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

    int port() const { return m_port; }

    // The messages received so far.
    QList<QJsonObject> messages() const {
        QList<QJsonObject> out;
        QFile file(m_out);
        if (!file.open(QIODevice::ReadOnly)) return out;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (!line.trimmed().isEmpty()) out << QJsonDocument::fromJson(line).object();
        }
        return out;
    }

private:
    QString m_out;
    QProcess m_process;
    int m_port = 0;
};

bool pythonHasAiosmtpd() {
    QProcess probe;
    probe.start(kPython, {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")});
    return probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
           probe.exitCode() == 0;
}

// A loopback port with nothing listening on it.
int closedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const int port = server.serverPort();
    server.close();
    return port;
}

// --- the message text -------------------------------------------------------

struct RecipientRow {
    const char* receipients;
    QStringList addresses;
};

void PrintTo(const RecipientRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.receipients);
}

class RecipientTest : public ::testing::TestWithParam<RecipientRow> {};

TEST_P(RecipientTest, EnvelopeAddressesOfAStoredRecipientList) {
    EXPECT_EQ(recipientAddresses(QString::fromUtf8(GetParam().receipients)), GetParam().addresses);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RecipientTest,
    ::testing::Values(RecipientRow{"a@example.org", {"a@example.org"}},
                      RecipientRow{"a@example.org; b@example.org", {"a@example.org", "b@example.org"}},
                      RecipientRow{"Facilities <fm@example.org>, ops@example.org;;",
                                   {"fm@example.org", "ops@example.org"}},
                      RecipientRow{"evil@example.org\r\nRCPT TO:<x@y>", {"evil@example.org", "x@y"}},
                      RecipientRow{" ; , ", {}}));

TEST(MailText, HeadersCannotBeInjectedAndLinesEndInCrLf) {
    MailMessage m;
    m.from = QStringLiteral("quorvel@site");
    m.to = {QStringLiteral("a@b")};
    m.toHeader = QStringLiteral("a@b\nBcc: everyone@example.org");
    m.subject = QStringLiteral("Alarm\r\nBcc: leak@example.org");
    m.body = QStringLiteral("Line one\nLine two\r\n.\nLast");
    const QByteArray text =
        mailText(m, QDateTime(QDate(2024, 3, 9), QTime(18, 30), QTimeZone(8 * 3600)), "site");
    EXPECT_TRUE(text.contains("Subject: Alarm Bcc: leak@example.org\r\n"));
    EXPECT_TRUE(text.contains("To: a@b Bcc: everyone@example.org\r\n"));
    EXPECT_FALSE(text.contains("\nBcc:"));
    EXPECT_TRUE(text.contains("Date: Sat, 09 Mar 2024 18:30:00 +0800\r\n"));
    EXPECT_TRUE(text.contains("\r\n\r\nLine one\r\nLine two\r\n.\r\nLast\r\n"));
    EXPECT_FALSE(text.contains(QByteArray("o\nL")));
}

TEST(MailText, NonAsciiSubjectAndBodyAreEncoded) {
    MailMessage m;
    m.from = QStringLiteral("q@s");
    m.toHeader = QStringLiteral("a@b");
    m.subject = QStringLiteral("Température");
    m.body = QStringLiteral("Lumière éteinte");
    const QByteArray text = mailText(m, QDateTime(QDate(2024, 1, 1), QTime(0, 0), QTimeZone::utc()), "s");
    EXPECT_TRUE(
        text.contains("Subject: =?UTF-8?B?" + QStringLiteral("Température").toUtf8().toBase64() + "?="));
    EXPECT_TRUE(text.contains("Content-Transfer-Encoding: base64"));
    EXPECT_TRUE(text.contains(QStringLiteral("Lumière éteinte").toUtf8().toBase64()));
}

TEST(MailText, OverlongLinesGoAsBase64) {
    MailMessage m;
    m.from = QStringLiteral("q@s");
    m.toHeader = QStringLiteral("a@b");
    m.body = QString(2000, QLatin1Char('x'));
    const QByteArray text = mailText(m, QDateTime(QDate(2024, 1, 1), QTime(0, 0), QTimeZone::utc()), "s");
    EXPECT_TRUE(text.contains("Content-Transfer-Encoding: base64"));
    for (const QByteArray& line : text.split('\n')) EXPECT_LE(line.size(), 998);
}

TEST(MailText, AttachmentsMakeAMultipartMessageWithTheFileIntact) {
    MailMessage m;
    m.from = QStringLiteral("q@s");
    m.toHeader = QStringLiteral("a@b");
    m.subject = QStringLiteral("Lobby had 1 boxes not respond");
    m.body = QStringLiteral("See the results.");
    QByteArray file(3000, '\0');
    for (int i = 0; i < file.size(); ++i) file[i] = static_cast<char>(i * 7);
    m.attachments.append({QStringLiteral("Lobby.db"), file});
    const QByteArray text = mailText(m, QDateTime(QDate(2024, 1, 1), QTime(0, 0), QTimeZone::utc()), "s");

    const qsizetype at = text.indexOf("boundary=\"");
    ASSERT_GE(at, 0);
    const QByteArray boundary = text.mid(at + 10, text.indexOf('"', at + 10) - at - 10);
    const QList<QByteArray> parts = text.split('\n');
    EXPECT_EQ(text.count("--" + boundary + "\r\n"), 2);
    EXPECT_TRUE(text.contains("--" + boundary + "--\r\n"));
    EXPECT_TRUE(text.contains("Content-Disposition: attachment; filename=\"Lobby.db\""));
    EXPECT_TRUE(text.contains("\r\n\r\nSee the results.\r\n"));
    // The file comes back byte for byte from its base64 lines.
    const qsizetype start = text.indexOf("\r\n\r\n", text.indexOf("filename=")) + 4;
    const qsizetype end = text.indexOf("--" + boundary + "--");
    EXPECT_EQ(QByteArray::fromBase64(text.mid(start, end - start).replace("\r\n", "")), file);
    for (const QByteArray& line : parts) EXPECT_LE(line.size(), 998);
}

struct TlsRow {
    const char* word;
    MailSettings::Security security;
    bool error;
};

void PrintTo(const TlsRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.word);
}

class MailSettingsTest : public ::testing::TestWithParam<TlsRow> {};

TEST_P(MailSettingsTest, TlsWordFromConfig) {
    store::ConfigSettings config;
    config.mailhost = QStringLiteral(" mail.example.org ");
    config.mailport = 587;
    config.mailtls = QString::fromLatin1(GetParam().word);
    const MailSettingsResult result = mailSettingsFrom(config);
    EXPECT_EQ(!result.error.isEmpty(), GetParam().error);
    if (!GetParam().error) {
        EXPECT_EQ(result.settings.security, GetParam().security);
    }
    EXPECT_EQ(result.settings.host, QStringLiteral("mail.example.org"));
    EXPECT_EQ(result.settings.port, 587);
}

INSTANTIATE_TEST_SUITE_P(Rows, MailSettingsTest,
                         ::testing::Values(TlsRow{"", MailSettings::Security::None, false},
                                           TlsRow{"none", MailSettings::Security::None, false},
                                           TlsRow{"STARTTLS", MailSettings::Security::StartTls, false},
                                           TlsRow{"tls", MailSettings::Security::Tls, false},
                                           TlsRow{"ssl", MailSettings::Security::Tls, false},
                                           TlsRow{"maybe", MailSettings::Security::None, true}));

// --- sending ---------------------------------------------------------------

// Real timers: the mail goes to a real SMTP server.
class EmailSendTest : public PoolTest {
public:
    qv::SystemClock realClock;
    void SetUp() override {
        PoolTest::SetUp();
        mailer = std::make_unique<SmtpMailer>(realClock);
        action = std::make_unique<EmailAction>(*db, monitor, realClock, *mailer);
    }
    void TearDown() override {
        action.reset();
        mailer.reset();
        PoolTest::TearDown();
    }

    void useServer(int port) {
        MailSettings settings;
        settings.host = QStringLiteral("127.0.0.1");
        settings.port = port;
        settings.sender = QStringLiteral("Quorvel Lights <quorvel@test.example>");
        settings.connectTimeoutSeconds = 5;
        settings.timeoutSeconds = 10;
        mailer->setSettings(settings);
    }

    // A pool whose e-mail lines go through the real mailer.
    void poolWithRealMail() {
        pool = std::make_unique<MacroPool>(MacroPoolDeps{
            *db,
            monitor,
            realClock,
            [this](const net::RawMessage& m) {
                sent.push_back({m, 0});
            },
            {},
            [this](const QString& email, const QString& macro) { action->emailthis(email, macro); }});
    }

    int errors() const {
        return monitor.count([](const auto& r) { return r.MsgType == QLatin1String("ERROR ***"); });
    }

    std::unique_ptr<SmtpMailer> mailer;
    std::unique_ptr<EmailAction> action;
};

TEST_F(EmailSendTest, StoredEmailArrivesWithItsRecipientsSubjectAndBody) {
    if (!pythonHasAiosmtpd()) GTEST_SKIP() << "/usr/bin/python3 has no aiosmtpd module";
    SmtpServer server(dirPath());
    ASSERT_GT(server.port(), 0) << "the SMTP server did not start";
    useServer(server.port());
    addEmail("Fire alarm", "Facilities <fm@example.org>; ops@example.org", "Fire alarm in the foyer",
             "The foyer alarm went off.\nLights set to full.");
    addEmail("Blank", "a@example.org", QVariant(QMetaType::fromType<QString>()),
             QVariant(QMetaType::fromType<QString>()));

    action->emailthis("fire ALARM", "Evacuate");
    action->emailthis("Blank");
    ASSERT_TRUE(qv::test::waitUntil([&] { return server.messages().size() == 2; }, 15000))
        << "errors: " << errors();

    const QList<QJsonObject> messages = server.messages();
    const QJsonObject fire = messages[0]["data"].toString().contains("foyer") ? messages[0] : messages[1];
    EXPECT_EQ(fire["from"].toString(), QStringLiteral("quorvel@test.example"));
    EXPECT_EQ(fire["to"].toArray().toVariantList(), QVariantList({"fm@example.org", "ops@example.org"}));
    const QString data = fire["data"].toString();
    EXPECT_TRUE(data.contains("Subject: Fire alarm in the foyer")) << data.toStdString();
    EXPECT_TRUE(data.contains("The foyer alarm went off.")) << data.toStdString();
    EXPECT_TRUE(data.contains("Lights set to full.")) << data.toStdString();
    EXPECT_TRUE(data.contains("To: Facilities <fm@example.org>; ops@example.org")) << data.toStdString();
    EXPECT_TRUE(data.contains("From: Quorvel Lights <quorvel@test.example>")) << data.toStdString();
    EXPECT_EQ(errors(), 0);
    EXPECT_EQ(mailer->inFlight(), 0);
}

TEST_F(EmailSendTest, MacroEmailLineThroughThePoolReachesTheServer) {
    if (!pythonHasAiosmtpd()) GTEST_SKIP() << "/usr/bin/python3 has no aiosmtpd module";
    SmtpServer server(dirPath());
    ASSERT_GT(server.port(), 0);
    useServer(server.port());
    addEmail("Report", "boss@example.org", "Daily report", "All good");
    poolWithRealMail();
    save("Mailer", {"(EMAIL:)1", "(ORVANET:) (AREA:)1 (PRESET:)1 (FADE:)1"});
    pool->RunMacro("Mailer");
    ASSERT_TRUE(qv::test::waitUntil([&] { return server.messages().size() == 1; }, 15000));
    EXPECT_TRUE(server.messages()[0]["data"].toString().contains("Subject: Daily report"));
    EXPECT_EQ(sent.size(), 1u);
}

TEST_F(EmailSendTest, UnreachableServerGivesAnErrorRecordAndTheMacroGoesOn) {
    useServer(closedPort());
    addEmail("Report", "boss@example.org", "Daily report", "All good");
    poolWithRealMail();
    save("Mailer", {"(EMAIL:)1", "(ORVANET:) (AREA:)1 (PRESET:)1 (FADE:)1", "(DELAY:)0"});
    pool->RunMacro("Mailer");
    ASSERT_TRUE(qv::test::waitUntil([&] { return errors() == 1; }, 15000));
    EXPECT_EQ(sent.size(), 1u);  // the line after the e-mail ran
    EXPECT_EQ(ended("Mailer"), 1);
    const auto& error = *std::find_if(monitor.records.begin(), monitor.records.end(),
                                      [](const auto& r) { return r.MsgType == QLatin1String("ERROR ***"); });
    EXPECT_EQ(error.Macro, QStringLiteral("Mailer"));
    EXPECT_TRUE(error.comment.startsWith(QStringLiteral("Email 'Report' could not be sent: ")))
        << error.comment.toStdString();
}

TEST_F(EmailSendTest, NoServerOrNoRecipientIsAnErrorRecord) {
    addEmail("Report", "boss@example.org", "s", "m");
    addEmail("Nobody", " ; ", "s", "m");
    action->emailthis("Report", "M");  // no server configured yet
    EXPECT_EQ(errors(), 1);
    EXPECT_TRUE(monitor.records.back().comment.contains("no mail server"));
    useServer(closedPort());
    action->emailthis("Nobody", "M");
    EXPECT_EQ(errors(), 2);
    EXPECT_TRUE(monitor.records.back().comment.contains("no recipient"));
    action->setSettingsError("the mail server's TLS mode 'maybe' is not one of none, starttls, tls");
    action->emailthis("Report", "M");
    EXPECT_EQ(errors(), 3);
    EXPECT_EQ(mailer->inFlight(), 0);
}

TEST_F(EmailSendTest, UnknownEmailNameSendsNothingAndSaysNothing) {
    useServer(closedPort());
    action->emailthis("Never stored", "M");
    qv::test::spin(50);
    EXPECT_TRUE(monitor.records.empty());
    EXPECT_EQ(mailer->inFlight(), 0);
}

}  // namespace
}  // namespace qv::macros::test
