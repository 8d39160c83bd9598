#pragma once
// PlayMediaFile: the sound or video file of a macro's media line, on one
// player, so a new media line cuts off the one still playing. A file that is
// missing or cannot be played, or a machine without an audio output, gives a
// "Warning **" record; the macro never waits for the media.

#include "clock/clock.h"
#include "comms/monitor_writer.h"
#include "store/monitor_record.h"

#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;

namespace qv::macros {

class MediaPlayer : public QObject {
    Q_OBJECT
public:
    MediaPlayer(store::MonitorSink& monitor, const qv::Clock& clock, QObject* parent = nullptr);
    ~MediaPlayer() override;

    // macro names the running macro in the records.
    void PlayMediaFile(const QString& path, const QString& macro = {});
    void stop();

private:
    void ensurePlayer();

    comms::MonitorWriter m_monitorWriter;
    QMediaPlayer* m_player = nullptr;  // made on first use: most sites never play media
    QAudioOutput* m_output = nullptr;
    QString m_path;
    QString m_macro;
    bool m_errorReported = false;  // the media layer may report one failure several times
};

}  // namespace qv::macros
