#include "macros/smtp_mailer.h"

#include "macros/logging.h"

#include <QSysInfo>

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace qv::macros {

struct SmtpMailer::Transfer {
    CURL* easy = nullptr;
    curl_slist* recipients = nullptr;
    QByteArray text;  // the message, handed to libcurl piece by piece
    qsizetype sent = 0;
    Done done;
    char error[CURL_ERROR_SIZE] = {};
    // libcurl keeps pointers to these strings until the transfer ends.
    QByteArray url, from, user, password;

    ~Transfer() {
        if (recipients) curl_slist_free_all(recipients);
        if (easy) curl_easy_cleanup(easy);
    }
};

namespace {

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

// libcurl pulls the message through this.
static std::size_t readTransfer(char* buffer, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<SmtpMailer::Transfer*>(user);
    const qsizetype room = static_cast<qsizetype>(size * count);
    const qsizetype left = transfer->text.size() - transfer->sent;
    const qsizetype n = std::min(room, left);
    if (n > 0) std::memcpy(buffer, transfer->text.constData() + transfer->sent, static_cast<std::size_t>(n));
    transfer->sent += n;
    return static_cast<std::size_t>(n);
}

SmtpMailer::SmtpMailer(const qv::Clock& clock, QObject* parent) : QObject(parent), m_clock(clock) {
    initCurlOnce();
    m_multi = curl_multi_init();
    m_poll = clock.createTimer(kPollMs, [this] { drive(); });
}

SmtpMailer::~SmtpMailer() {
    m_poll->stop();
    auto* multi = static_cast<CURLM*>(m_multi);
    for (auto& [easy, transfer] : m_transfers) curl_multi_remove_handle(multi, static_cast<CURL*>(easy));
    m_transfers.clear();
    curl_multi_cleanup(multi);
}

QString SmtpMailer::senderAddress() const {
    if (!m_settings.sender.isEmpty()) return oneLine(m_settings.sender);
    QString host = QSysInfo::machineHostName();
    if (host.isEmpty()) host = QStringLiteral("localhost");
    return QStringLiteral("quorvel@") + host;
}

void SmtpMailer::send(MailMessage message, Done done) {
    if (m_settings.host.isEmpty()) {
        done(QStringLiteral("no mail server is configured"));
        return;
    }
    if (message.to.isEmpty()) {
        done(QStringLiteral("the e-mail has no recipient"));
        return;
    }
    if (!m_multi) {
        done(QStringLiteral("the mail library could not be started"));
        return;
    }
    message.from = senderAddress();

    auto transfer = std::make_unique<Transfer>();
    transfer->easy = curl_easy_init();
    if (!transfer->easy) {
        done(QStringLiteral("the mail library could not start a transfer"));
        return;
    }
    transfer->done = std::move(done);
    transfer->text = mailText(
        message, m_clock.now(),
        QSysInfo::machineHostName().isEmpty() ? QStringLiteral("quorvel") : QSysInfo::machineHostName());

    QString host = m_settings.host;
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
        host = QLatin1Char('[') + host + QLatin1Char(']');  // an IPv6 address
    const bool implicitTls = m_settings.security == MailSettings::Security::Tls;
    transfer->url = QStringLiteral("%1://%2:%3")
                        .arg(implicitTls ? QStringLiteral("smtps") : QStringLiteral("smtp"), host)
                        .arg(m_settings.port)
                        .toUtf8();
    // The envelope takes the bare address of a sender written "Name <address>".
    const QString envelopeFrom = recipientAddresses(message.from).value(0, oneLine(message.from));
    transfer->from = ("<" + envelopeFrom + ">").toUtf8();
    for (const QString& to : message.to)
        transfer->recipients =
            curl_slist_append(transfer->recipients, ("<" + oneLine(to) + ">").toUtf8().constData());

    CURL* easy = transfer->easy;
    curl_easy_setopt(easy, CURLOPT_URL, transfer->url.constData());
    curl_easy_setopt(easy, CURLOPT_MAIL_FROM, transfer->from.constData());
    curl_easy_setopt(easy, CURLOPT_MAIL_RCPT, transfer->recipients);
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy, CURLOPT_READFUNCTION, &readTransfer);
    curl_easy_setopt(easy, CURLOPT_READDATA, transfer.get());
    curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(transfer->text.size()));
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer->error);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, static_cast<long>(m_settings.connectTimeoutSeconds));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, static_cast<long>(m_settings.timeoutSeconds));
    if (m_settings.security == MailSettings::Security::StartTls)
        curl_easy_setopt(easy, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (!m_settings.user.isEmpty()) {
        transfer->user = m_settings.user.toUtf8();
        transfer->password = m_settings.password.toUtf8();
        curl_easy_setopt(easy, CURLOPT_USERNAME, transfer->user.constData());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, transfer->password.constData());
    }

    if (curl_multi_add_handle(static_cast<CURLM*>(m_multi), easy) != CURLM_OK) {
        Done failed = std::move(transfer->done);
        failed(QStringLiteral("the mail library could not queue the transfer"));
        return;
    }
    m_transfers.emplace(easy, std::move(transfer));
    // The first drive comes from the timer, so the outcome never arrives
    // inside send() itself.
    if (!m_poll->isActive()) m_poll->start();
}

void SmtpMailer::drive() {
    auto* multi = static_cast<CURLM*>(m_multi);
    int running = 0;
    curl_multi_perform(multi, &running);

    // Take finished transfers out before calling anyone back: a callback may send again.
    std::vector<std::pair<std::unique_ptr<Transfer>, CURLcode>> finished;
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
        if (msg->msg != CURLMSG_DONE) continue;
        CURL* easy = msg->easy_handle;
        const CURLcode result = msg->data.result;
        curl_multi_remove_handle(multi, easy);
        const auto it = m_transfers.find(easy);
        if (it == m_transfers.end()) continue;
        finished.emplace_back(std::move(it->second), result);
        m_transfers.erase(it);
    }
    if (m_transfers.empty()) m_poll->stop();

    for (auto& [transfer, result] : finished) {
        QString error;
        if (result != CURLE_OK) {
            error = QString::fromUtf8(transfer->error);
            if (error.isEmpty()) error = QString::fromUtf8(curl_easy_strerror(result));
        }
        qCDebug(lcMacros) << "mail transfer finished:" << (error.isEmpty() ? QStringLiteral("sent") : error);
        if (transfer->done) transfer->done(error);
    }
}

}  // namespace qv::macros
