#pragma once
// emailthis: sends the stored e-mail of that EmailName. A name with no stored
// e-mail sends nothing and says nothing; any failure to send (no server
// configured, no recipient, a server that cannot be reached or refuses)
// becomes an "ERROR ***" record, and the macro that asked goes on.

#include "clock/clock.h"
#include "comms/monitor_writer.h"
#include "macros/smtp_mailer.h"
#include "store/database.h"
#include "store/monitor_record.h"

#include <QString>

namespace qv::macros {

class EmailAction {
public:
    EmailAction(store::Database& db, store::MonitorSink& monitor, const qv::Clock& clock, SmtpMailer& mailer);

    // macro names the running macro in the records.
    void emailthis(const QString& email, const QString& macro = {});

    // A configuration problem found when the settings were loaded (an unknown
    // TLS mode): every e-mail fails with it until mended.
    void setSettingsError(const QString& error) { m_settingsError = error; }

private:
    void fail(const QString& email, const QString& macro, const QString& why);

    store::Database& m_db;
    comms::MonitorWriter m_monitorWriter;
    SmtpMailer& m_mailer;
    QString m_settingsError;
};

}  // namespace qv::macros
