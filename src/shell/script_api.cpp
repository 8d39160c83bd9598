#include "shell/script_api.h"

#include "macros/macro_engine.h"
#include "net/builders.h"
#include "shell/engine.h"
#include "shell/send_argument.h"

namespace qv::shell {

bool ScriptApi::sendRS232(const QString& message) {
    if (message.size() == static_cast<int>(net::kMessageSize)) {
        net::RawMessage raw{};
        for (int i = 0; i < message.size(); ++i) {
            const ushort code = message.at(i).unicode();
            if (code > 0xFF) return false;
            raw[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(code);
        }
        m_engine.sendRS232(raw);
        return true;
    }
    const SendArgument parsed = parseSendArgument(message.toStdString());
    if (!parsed.message) return false;
    m_engine.sendRS232(*parsed.message);
    return true;
}

bool ScriptApi::SendCustomCode(const QString& codetosend) {
    const auto message = net::SendCustomCode(codetosend.toStdString());
    if (message) m_engine.sendRS232(*message);
    return message.has_value();
}

bool ScriptApi::SendChannelAtLevel(int area, int channel, int Level, int Fade) {
    const auto message = net::SendChannelAtLevel(area, channel, Level, Fade);
    if (message) m_engine.sendRS232(*message);
    return message.has_value();
}

bool ScriptApi::GoAreaPreset(int area, int preset) {
    const auto message = net::GoAreaPreset(area, preset);
    if (message) m_engine.sendRS232(*message);
    return message.has_value();
}

bool ScriptApi::AskforCurrentPreset(int area) {
    const auto message = net::AskforCurrentPreset(area);
    if (message) m_engine.sendRS232(*message);
    return message.has_value();
}

QString ScriptApi::AreaString(int area) const {
    return QString::fromStdString(net::AreaString(m_engine.names(), area));
}

QString ScriptApi::PresetString(int area, int Preset) const {
    return QString::fromStdString(net::PresetString(m_engine.names(), area, Preset));
}

QString ScriptApi::ChannelString(int area, int channel) const {
    return QString::fromStdString(net::ChannelString(m_engine.names(), area, channel));
}

int ScriptApi::GetPresetforArea(int area) const {
    return m_engine.areaState().GetPresetforArea(area);
}

void ScriptApi::RunMacro(const QString& name) {
    m_engine.RunMacro(name);
}

void ScriptApi::EnableMacro(const QString& macroname, bool TrueFalse) {
    if (auto* engine = m_engine.macroEngine()) engine->pool().EnableMacro(macroname, TrueFalse);
}

void ScriptApi::CancelAllMacros(const QString& callingMacro) {
    if (auto* engine = m_engine.macroEngine()) engine->pool().CancelAllMacros(callingMacro);
}

void ScriptApi::CancelThisMacro(const QString& macro) {
    if (auto* engine = m_engine.macroEngine()) engine->pool().CancelThisMacro(macro);
}

void ScriptApi::MonitorAdditem(const QString& MsgType, const QString& RS232, const QString& Macro,
                               const QString& DateTime, const QString& comment, const QString& area,
                               const QString& Preset, const QString& channel, const QString& ChannelLevel) {
    m_engine.MonitorAdditem({MsgType, RS232, Macro, DateTime, comment, area, Preset, channel, ChannelLevel});
}

}  // namespace qv::shell
