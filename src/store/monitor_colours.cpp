#include "store/monitor_colours.h"

#include "store/monitor_record.h"

#include <QHash>

namespace qv::store {

namespace {

constexpr std::uint32_t rgb(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

const QHash<QString, RowColours>& colourTable() {
    static const QHash<QString, RowColours> table = {
        {monitorTypeText(MonitorType::System), {rgb(0, 0, 255), rgb(255, 255, 255)}},
        {monitorTypeText(MonitorType::Error), {rgb(255, 0, 0), rgb(255, 255, 255)}},
        {monitorTypeText(MonitorType::Warning), {rgb(255, 255, 0), std::nullopt}},
        {monitorTypeText(MonitorType::Scheduler), {rgb(0, 255, 0), std::nullopt}},
        {QStringLiteral("WatchDog"), {rgb(255, 0, 255), std::nullopt}},
        {monitorTypeText(MonitorType::HeartBeat), {rgb(255, 0, 255), std::nullopt}},
        {monitorTypeText(MonitorType::Outlook), {rgb(0, 255, 255), std::nullopt}},
        {monitorTypeText(MonitorType::DirectControl), {rgb(1, 0, 0), rgb(255, 255, 255)}},
        {monitorTypeText(MonitorType::Planview), {rgb(192, 192, 0), std::nullopt}},
        {monitorTypeText(MonitorType::Start), {rgb(0, 128, 0), rgb(255, 255, 255)}},
        {monitorTypeText(MonitorType::Shutdown), {rgb(128, 0, 0), rgb(255, 255, 255)}},
        {QStringLiteral("ButtonPress"), {rgb(192, 192, 255), rgb(255, 255, 255)}},
        {QStringLiteral("ButtonHold"), {rgb(192, 192, 255), rgb(255, 0, 0)}},
        {QStringLiteral("ButtonRelease"), {rgb(128, 128, 255), rgb(255, 255, 255)}},
        {QStringLiteral("LED Update"), {rgb(192, 255, 192), rgb(0, 0, 0)}},
    };
    return table;
}

}  // namespace

RowColours coloursForMsgType(const QString& msgType) {
    const auto& table = colourTable();
    const auto found = table.constFind(msgType);
    if (found != table.constEnd()) return found.value();
    return {rgb(255, 255, 192), rgb(0, 0, 0)};
}

QString colourName(std::uint32_t rgbValue) {
    return QStringLiteral("#%1").arg(rgbValue & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

}  // namespace qv::store
