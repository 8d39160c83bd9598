#include "features/devices/energy_csv.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace qv::devices {

namespace {

QString number(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

bool writeWhole(const QString& path, const QString& text, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        if (error) *error = QStringLiteral("%1 could not be written: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString totalsCsvPath(const QString& csvPath) {
    const QFileInfo info(csvPath);
    const QString suffix = info.suffix().isEmpty() ? QStringLiteral("csv") : info.suffix();
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-totals.") + suffix);
}

bool writeEnergyCsv(const QString& csvPath, const std::vector<EnergyUsageRow>& rows,
                    const std::vector<ChannelEnergy>& totals, QString* error) {
    QString text = QStringLiteral("ID,DateTimeStamp,Area,Channel,Level,PowerUsage\r\n");
    text.reserve(static_cast<qsizetype>(rows.size()) * 48 + 64);
    for (const EnergyUsageRow& r : rows) {
        text += csvField(r.id.toString()) + QLatin1Char(',') + csvField(r.dateTimeStamp) + QLatin1Char(',') +
                csvField(r.area.toString()) + QLatin1Char(',') + csvField(r.channel.toString()) +
                QLatin1Char(',') + csvField(r.level.toString()) + QLatin1Char(',') +
                QString::number(r.powerUsage, 'g', 9) + QStringLiteral("\r\n");
    }
    QString totalsText = QStringLiteral("Area,Channel,Hours,kWh\r\n");
    for (const ChannelEnergy& t : totals) {
        totalsText += QString::number(t.area) + QLatin1Char(',') + QString::number(t.channel) +
                      QLatin1Char(',') + number(t.hours, 4) + QLatin1Char(',') + number(t.kWh, 3) +
                      QStringLiteral("\r\n");
    }
    return writeWhole(csvPath, text, error) && writeWhole(totalsCsvPath(csvPath), totalsText, error);
}

}  // namespace qv::devices
