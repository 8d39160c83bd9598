#include "macros/email_action.h"

#include "macros/logging.h"
#include "store/store_error.h"

#include <QSqlQuery>

namespace qv::macros {

namespace {

void reportFailure(const comms::MonitorWriter& monitor, const QString& email, const QString& macro,
                   const QString& why) {
    monitor.error(QStringLiteral("Email '%1' could not be sent: %2").arg(email, why), {.macro = macro});
}

}  // namespace

EmailAction::EmailAction(store::Database& db, store::MonitorSink& monitor, const qv::Clock& clock,
                         SmtpMailer& mailer)
    : m_db(db), m_monitorWriter(monitor, clock), m_mailer(mailer) {}

void EmailAction::fail(const QString& email, const QString& macro, const QString& why) {
    reportFailure(m_monitorWriter, email, macro, why);
}

void EmailAction::emailthis(const QString& email, const QString& macro) {
    MailMessage message;
    QString receipients;
    try {
        QSqlQuery query =
            m_db.run(QStringLiteral("SELECT EmailName, Receipients, Subject, Message FROM Emails WHERE "
                                    "EmailName = ? ORDER BY Email_ID LIMIT 1"),
                     {email});
        if (!query.next()) return;  // no such e-mail: nothing sent, nothing shown
        receipients = query.value(1).toString();
        message.subject = query.value(2).toString();  // Null reads as the empty text
        message.body = query.value(3).toString();
    } catch (const store::StoreError& e) {
        fail(email, macro, QString::fromUtf8(e.what()));
        return;
    }
    if (!m_settingsError.isEmpty()) {
        fail(email, macro, m_settingsError);
        return;
    }
    message.to = recipientAddresses(receipients);
    message.toHeader = receipients;

    // The outcome arrives later, from the mailer; the callback holds only the
    // monitor and clock, which outlive the mailer, never this action.
    m_mailer.send(message, [email, macro, monitor = m_monitorWriter](const QString& error) {
        if (error.isEmpty())
            qCInfo(lcMacros) << "e-mail" << email << "sent";
        else
            reportFailure(monitor, email, macro, error);
    });
}

}  // namespace qv::macros
