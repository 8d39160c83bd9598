#pragma once
// Sends mail over SMTP with libcurl's multi interface, driven by a Qt timer
// on the calling thread: a send returns at once and its outcome arrives
// later through the callback. No threads of our own; a dead server costs a
// timeout, never a blocked event loop.

#include "clock/clock.h"
#include "macros/mail_message.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>

namespace qv::macros {

class SmtpMailer : public QObject {
    Q_OBJECT
public:
    // error is empty on success, else what went wrong.
    using Done = std::function<void(const QString& error)>;

    // How often running transfers are driven.
    static constexpr int kPollMs = 10;

    explicit SmtpMailer(const qv::Clock& clock, QObject* parent = nullptr);
    ~SmtpMailer() override;

    void setSettings(const MailSettings& settings) { m_settings = settings; }
    const MailSettings& settings() const { return m_settings; }

    // Fills in the sender and sends. A message that cannot be sent as given
    // (no server, no recipient) calls done with the reason before returning.
    void send(MailMessage message, Done done);

    int inFlight() const { return static_cast<int>(m_transfers.size()); }

    struct Transfer;  // one message on its way; defined with the libcurl code

private:
    void drive();
    QString senderAddress() const;

    const qv::Clock& m_clock;
    MailSettings m_settings;
    void* m_multi = nullptr;                                 // CURLM*, kept out of this header
    std::map<void*, std::unique_ptr<Transfer>> m_transfers;  // by CURL*
    std::unique_ptr<qv::Timer> m_poll;
};

}  // namespace qv::macros
