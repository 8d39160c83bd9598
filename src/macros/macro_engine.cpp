#include "macros/macro_engine.h"

#include "comms/monitor_writer.h"

namespace qv::macros {

MacroEngine::MacroEngine(MacroEngineDeps deps, QObject* parent)
    : QObject(parent),
      m_deps(std::move(deps)),
      m_media(m_deps.monitor, m_deps.clock),
      m_mailer(m_deps.clock),
      m_email(m_deps.db, m_deps.monitor, m_deps.clock, m_mailer),
      m_store(m_deps.db),
      m_tree(m_deps.db),
      m_pool(MacroPoolDeps{
          m_deps.db,
          m_deps.monitor,
          m_deps.clock,
          m_deps.sendRS232,
          [this](const QString& path, const QString& macro) { m_media.PlayMediaFile(path, macro); },
          [this](const QString& email, const QString& macro) { m_email.emailthis(email, macro); },
      }) {}

MacroEngine::~MacroEngine() = default;

void MacroEngine::applyConfig(const store::ConfigSettings& config) {
    const MailSettingsResult mail = mailSettingsFrom(config);
    m_mailer.setSettings(mail.settings);
    m_email.setSettingsError(mail.error);
    if (!mail.error.isEmpty()) {
        comms::MonitorWriter(m_deps.monitor, m_deps.clock)
            .warning(QStringLiteral("Macro e-mails can not be sent: %1").arg(mail.error));
    }
}

}  // namespace qv::macros
