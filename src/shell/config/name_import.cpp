#include "shell/config/name_import.h"

#include "shell/config/csv_reader.h"
#include "shell/config/logging.h"
#include "shell/config/messages.h"
#include "shell/config/name_cleaning.h"
#include "shell/config/xls_reader.h"
#include "store/database.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <set>
#include <utility>

namespace qv::config {

namespace {

constexpr int kMaxArea = 255;
constexpr int kMaxChannel = 255;  // 256 is "All Channels", named by the program itself
// The name stored for a known channel without a name, as a channel seek does.
const QString kBlankName = QStringLiteral(" ");

QString fileIn(const QString& dataDir, const QString& wanted) {
    const QDir dir(dataDir);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files))
        if (entry.fileName().compare(wanted, Qt::CaseInsensitive) == 0) return entry.filePath();
    return {};
}

}  // namespace

QString findNameSheet(const QString& dataDir) {
    QString path = fileIn(dataDir, QStringLiteral("AreaChannelNames.xls"));
    if (path.isEmpty()) path = fileIn(dataDir, QStringLiteral("AreaChannelNames.csv"));
    return path;
}

bool parseWholeNumber(const QString& text, int* number) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 1e9) return false;
    *number = static_cast<int>(std::trunc(value));
    return true;
}

NameImportResult writeNameRows(store::Database& main, const std::vector<SheetRow>& rows) {
    NameImportResult result;
    std::set<int> areas;
    std::set<std::pair<int, int>> channels;

    store::Transaction transaction(main);
    QSqlQuery blank = main.prepare(QStringLiteral("UPDATE AreaNames SET AreaName = ?"));
    blank.bindValue(0, kBlankName);
    main.exec(blank);
    main.exec(QStringLiteral("DELETE FROM AreaChannels"));

    QSqlQuery updateArea = main.prepare(QStringLiteral("UPDATE AreaNames SET AreaName = ? WHERE Area = ?"));
    QSqlQuery insertArea =
        main.prepare(QStringLiteral("INSERT INTO AreaNames (Area, AreaName) VALUES (?, ?)"));
    QSqlQuery deleteChannel =
        main.prepare(QStringLiteral("DELETE FROM AreaChannels WHERE Area = ? AND Channel = ?"));
    QSqlQuery insertChannel = main.prepare(
        QStringLiteral("INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES (?, ?, ?)"));

    for (const SheetRow& row : rows) {
        int area = 0;
        if (!parseWholeNumber(row.area, &area)) {
            result.skipped << QStringLiteral(
                                  "Row %1: the area number \"%2\" is not a number; the row is skipped")
                                  .arg(row.line)
                                  .arg(row.area);
            continue;
        }
        if (area <= 0) continue;  // area 0 names nothing
        if (area > kMaxArea) {
            result.skipped
                << QStringLiteral("Row %1: area %2 is above 255; the row is skipped").arg(row.line).arg(area);
            continue;
        }

        // A blank name keeps what the area has, so a sheet that gives the area
        // name on its first row only does not lose it on the next.
        if (const QString name = cleanName(row.areaName); !name.isEmpty()) {
            updateArea.bindValue(0, name);
            updateArea.bindValue(1, area);
            main.exec(updateArea);
            if (updateArea.numRowsAffected() == 0) {
                insertArea.bindValue(0, area);
                insertArea.bindValue(1, name);
                main.exec(insertArea);
            }
            areas.insert(area);
        }

        int channel = 0;
        if (!row.channel.trimmed().isEmpty() && !parseWholeNumber(row.channel, &channel)) {
            result.skipped << QStringLiteral(
                                  "Row %1: the channel number \"%2\" is not a number; no channel name "
                                  "is stored")
                                  .arg(row.line)
                                  .arg(row.channel);
            continue;
        }
        if (channel <= 0) continue;
        if (channel > kMaxChannel) {
            result.skipped << QStringLiteral("Row %1: channel %2 is above 255; no channel name is stored")
                                  .arg(row.line)
                                  .arg(channel);
            continue;
        }
        QString channelName = cleanName(row.channelName);
        if (channelName.isEmpty()) channelName = kBlankName;
        // One row per channel: a channel listed twice keeps its later name.
        deleteChannel.bindValue(0, area);
        deleteChannel.bindValue(1, channel);
        main.exec(deleteChannel);
        insertChannel.bindValue(0, area);
        insertChannel.bindValue(1, channel);
        insertChannel.bindValue(2, channelName);
        main.exec(insertChannel);
        channels.insert({area, channel});
    }
    transaction.commit();

    result.areasNamed = static_cast<int>(areas.size());
    result.channelsNamed = static_cast<int>(channels.size());
    result.outcome = store::Outcome::done(msg::kImportFinished);
    return result;
}

NameImportResult importAreaChannelNames(store::Database& main, const QString& dataDir) {
    NameImportResult result;
    const QString path = findNameSheet(dataDir);
    if (path.isEmpty()) {
        result.outcome = store::Outcome::refused(msg::kImportFileMissing);
        return result;
    }
    const SheetRead read =
        path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? readCsvSheet(path) : readXlsSheet(path);
    if (!read.ok) {
        result.outcome = store::Outcome::refused(read.error);
        return result;
    }
    try {
        result = writeNameRows(main, read.rows);
    } catch (const store::StoreError& e) {
        qCWarning(lcConfig) << "name import failed:" << e.what();
        result = {};
        result.outcome =
            store::Outcome::refused(QStringLiteral("The names could not be imported, nothing was changed: %1")
                                        .arg(QString::fromUtf8(e.what())));
        return result;
    }
    qCInfo(lcConfig) << "imported" << result.areasNamed << "area names and" << result.channelsNamed
                     << "channel names from" << path;
    return result;
}

}  // namespace qv::config
