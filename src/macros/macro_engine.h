#pragma once
// The macro engine as the shell constructs it: the store and tree operations
// of the macro editor, the cue and processor pool, and the real actions
// (Qt media player, SMTP mailer) wired into the pool.

#include "clock/clock.h"
#include "macros/email_action.h"
#include "macros/macro_pool.h"
#include "macros/macro_store.h"
#include "macros/macro_tree.h"
#include "macros/media_player.h"
#include "macros/smtp_mailer.h"
#include "net/message.h"
#include "store/database.h"
#include "store/monitor_record.h"
#include "store/settings_loaders.h"

#include <QObject>

#include <functional>

namespace qv::macros {

struct MacroEngineDeps {
    store::Database& db;  // the main database, open for the engine's whole life
    store::MonitorSink& monitor;
    const qv::Clock& clock;
    std::function<void(const net::RawMessage&)> sendRS232;  // SerialComms::sendRS232
};

class MacroEngine : public QObject {
    Q_OBJECT
public:
    explicit MacroEngine(MacroEngineDeps deps, QObject* parent = nullptr);
    ~MacroEngine() override;

    // The mail server from the Config row. An unknown TLS mode is reported
    // once as a "Warning **" record and makes every e-mail fail until mended.
    void applyConfig(const store::ConfigSettings& config);

    MacroPool& pool() { return m_pool; }
    MacroRunner& runner() { return m_pool; }
    MacroStore& macroStore() { return m_store; }
    MacroTree& tree() { return m_tree; }
    MediaPlayer& media() { return m_media; }
    SmtpMailer& mailer() { return m_mailer; }
    EmailAction& email() { return m_email; }

private:
    MacroEngineDeps m_deps;
    MediaPlayer m_media;
    SmtpMailer m_mailer;
    EmailAction m_email;
    MacroStore m_store;
    MacroTree m_tree;
    MacroPool m_pool;  // last: its processors use everything above
};

}  // namespace qv::macros
