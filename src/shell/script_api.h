#pragma once
// The program's public operations as scripts see them ("qv"): sending,
// labels, area state, macros and the monitor.

#include <QObject>
#include <QString>

namespace qv::shell {

class Engine;

class ScriptApi : public QObject {
    Q_OBJECT
public:
    explicit ScriptApi(Engine& engine, QObject* parent = nullptr) : QObject(parent), m_engine(engine) {}

    // A raw message of eight characters (character code = byte), or hex text
    // of seven bytes (the checksum is added) or eight. False when it is neither.
    Q_INVOKABLE bool sendRS232(const QString& message);
    Q_INVOKABLE bool SendCustomCode(const QString& codetosend);
    Q_INVOKABLE bool SendChannelAtLevel(int area, int channel, int Level, int Fade);
    Q_INVOKABLE bool GoAreaPreset(int area, int preset);
    Q_INVOKABLE bool AskforCurrentPreset(int area);

    Q_INVOKABLE QString AreaString(int area) const;
    Q_INVOKABLE QString PresetString(int area, int Preset) const;
    Q_INVOKABLE QString ChannelString(int area, int channel) const;
    Q_INVOKABLE int GetPresetforArea(int area) const;

    Q_INVOKABLE void RunMacro(const QString& name);
    Q_INVOKABLE void EnableMacro(const QString& macroname, bool TrueFalse);
    Q_INVOKABLE void CancelAllMacros(const QString& callingMacro = QStringLiteral("All"));
    Q_INVOKABLE void CancelThisMacro(const QString& macro);

    Q_INVOKABLE void MonitorAdditem(const QString& MsgType, const QString& RS232, const QString& Macro,
                                    const QString& DateTime, const QString& comment, const QString& area = {},
                                    const QString& Preset = {}, const QString& channel = {},
                                    const QString& ChannelLevel = {});

private:
    Engine& m_engine;
};

}  // namespace qv::shell
