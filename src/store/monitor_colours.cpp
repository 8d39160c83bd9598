#include "store/monitor_colours.h"

#include <QHash>

namespace qv::store {

namespace {

constexpr std::uint32_t rgb(int r, int g, int b)
{
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

const QHash<QString, RowColours>& colourTable()
{
    static const QHash<QString, RowColours> table = {
        {QStringLiteral("System"), {rgb(0, 0, 255), rgb(255, 255, 255)}},
        {QStringLiteral("ERROR ***"), {rgb(255, 0, 0), rgb(255, 255, 255)}},
        {QStringLiteral("Warning **"), {rgb(255, 255, 0), std::nullopt}},
        {QStringLiteral("Scheduler"), {rgb(0, 255, 0), std::nullopt}},
        {QStringLiteral("WatchDog"), {rgb(255, 0, 255), std::nullopt}},
        {QStringLiteral("HeartBeat"), {rgb(255, 0, 255), std::nullopt}},
        {QStringLiteral("Outlook"), {rgb(0, 255, 255), std::nullopt}},
        {QStringLiteral("Direct Control"), {rgb(1, 0, 0), rgb(255, 255, 255)}},
        {QStringLiteral("Planview"), {rgb(192, 192, 0), std::nullopt}},
        {QStringLiteral("Start"), {rgb(0, 128, 0), rgb(255, 255, 255)}},
        {QStringLiteral("Shutdown"), {rgb(128, 0, 0), rgb(255, 255, 255)}},
        {QStringLiteral("ButtonPress"), {rgb(192, 192, 255), rgb(255, 255, 255)}},
        {QStringLiteral("ButtonHold"), {rgb(192, 192, 255), rgb(255, 0, 0)}},
        {QStringLiteral("ButtonRelease"), {rgb(128, 128, 255), rgb(255, 255, 255)}},
        {QStringLiteral("LED Update"), {rgb(192, 255, 192), rgb(0, 0, 0)}},
    };
    return table;
}

}  // namespace

RowColours coloursForMsgType(const QString& msgType)
{
    const auto& table = colourTable();
    const auto found = table.constFind(msgType);
    if (found != table.constEnd())
        return found.value();
    return {rgb(255, 255, 192), rgb(0, 0, 0)};
}

QString colourName(std::uint32_t rgbValue)
{
    return QStringLiteral("#%1").arg(rgbValue & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

}  // namespace qv::store
