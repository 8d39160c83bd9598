#include "macros/media_player.h"

#include "macros/logging.h"

#include <QAudioDevice>  // before QMediaDevices: its list needs the complete type
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

namespace qv::macros {

MediaPlayer::MediaPlayer(store::MonitorSink& monitor, const qv::Clock& clock, QObject* parent)
    : QObject(parent), m_monitorWriter(monitor, clock) {}

MediaPlayer::~MediaPlayer() {
    if (m_player) m_player->stop();
}

void MediaPlayer::ensurePlayer() {
    if (m_player) return;
    m_player = new QMediaPlayer(this);
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString& text) {
        if (m_errorReported) return;
        m_errorReported = true;
        m_monitorWriter.warning(QStringLiteral("Media file could not be played: %1: %2").arg(m_path, text),
                                {.macro = m_macro});
    });
}

void MediaPlayer::stop() {
    if (m_player) m_player->stop();
}

void MediaPlayer::PlayMediaFile(const QString& path, const QString& macro) {
    m_macro = macro;
    m_path = path;
    m_errorReported = false;
    stop();  // a new media line cuts off the previous one, played or not
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        m_monitorWriter.warning(QStringLiteral("Media file not found, not played: %1").arg(path),
                                {.macro = m_macro});
        return;
    }
    if (QMediaDevices::audioOutputs().isEmpty()) {
        m_monitorWriter.warning(QStringLiteral("No audio output, media file not played: %1").arg(path),
                                {.macro = m_macro});
        return;
    }
    ensurePlayer();
    m_player->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    m_player->play();
    qCDebug(lcMacros) << "playing" << path;
}

}  // namespace qv::macros
