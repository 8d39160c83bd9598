#include "features/reactions/direct_control.h"

#include "features/reactions/logging.h"
#include "net/builders.h"
#include "store/database.h"
#include "store/field_values.h"

#include <QSqlQuery>

namespace qv::reactions {

DirectControl::DirectControl(store::Database& db, const net::AreaState& state, const net::NameTables& names,
                             store::MonitorSink& monitor, const qv::Clock& clock, macros::MacroRunner& runner,
                             SendRS232 sendRS232, EnableMacro enableMacro, int checkPresetMs, QObject* parent)
    : QObject(parent),
      m_db(db),
      m_state(state),
      m_names(names),
      m_monitorWriter(monitor, clock),
      m_runner(runner),
      m_sendRS232(std::move(sendRS232)),
      m_enableMacro(std::move(enableMacro)),
      m_checkPresetTimer(clock.createTimer(checkPresetMs, [this] { CheckPresetTimer(); })) {}

void DirectControl::setStatus(const QString& text) {
    if (text == m_status) return;
    m_status = text;
    emit statusTextChanged(text);
}

bool DirectControl::chooseArea(int area) {
    const auto ask = net::AskforCurrentPreset(area);
    if (!ask) return false;
    m_area = area;
    m_sendRS232(*ask);
    setStatus(kRequesting);
    m_checkPresetTimer->start();
    return true;
}

bool DirectControl::send(int preset) {
    if (!m_area) return false;
    const auto message = net::GoAreaPreset(*m_area, preset);
    if (!message) return false;
    m_monitorWriter.write(store::MonitorType::DirectControl,
                          QStringLiteral("Direct Control issues Area/Preset"),
                          {.area = QString::number(*m_area), .preset = QString::number(preset)});
    m_sendRS232(*message);
    return true;
}

void DirectControl::runMacro(const QString& name) {
    if (name.isEmpty()) return;
    m_monitorWriter.write(store::MonitorType::DirectControl, QStringLiteral("Direct Control issues Macro"),
                          {.macro = name});
    m_runner.RunMacro(name);
}

std::optional<bool> DirectControl::macroEnabled(const QString& name) {
    QSqlQuery query =
        m_db.run(QStringLiteral("SELECT Macros.Enabled FROM Macros WHERE Macros.Macro = ? LIMIT 1"), {name});
    if (!query.next()) return std::nullopt;
    return store::yesNoOr(query.value(0), false);
}

void DirectControl::setMacroEnabled(const QString& name, bool enabled) {
    if (m_enableMacro && !name.isEmpty()) m_enableMacro(name, enabled);
}

QString DirectControl::presetCheckText(int area) const {
    const int preset = m_state.GetPresetforArea(area);
    if (preset == 0) return kNoResponse;
    const std::string& areaName = m_names.areaName(area);
    const std::string& presetName = m_names.presetName(area, preset);
    // An area without a name is called by its number, as a preset is.
    const QString areaText =
        areaName.empty() ? QStringLiteral("Area %1").arg(area) : QString::fromStdString(areaName);
    const QString presetText =
        presetName.empty() ? QStringLiteral("Preset %1").arg(preset) : QString::fromStdString(presetName);
    return QStringLiteral("Area %1 is currently in preset %2\n%3 is set to %4")
        .arg(QString::number(area), QString::number(preset), areaText, presetText);
}

void DirectControl::CheckPresetTimer() {
    if (m_area) setStatus(presetCheckText(*m_area));
}

void DirectControl::close() {
    m_checkPresetTimer->stop();
}

}  // namespace qv::reactions
