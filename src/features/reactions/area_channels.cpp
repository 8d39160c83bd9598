#include "features/reactions/area_channels.h"

#include "features/reactions/stored_number.h"
#include "store/database.h"
#include "store/transaction.h"

#include <QSqlQuery>

#include <set>

namespace qv::reactions {

namespace {

constexpr int kLastChannel = 256;

}  // namespace

std::vector<AreaChannel> loadAreaChannels(store::Database& db, int area) {
    QSqlQuery query = db.run(
        QStringLiteral("SELECT AreaChannels.Channel, AreaChannels.Channelname FROM AreaChannels"
                       " WHERE AreaChannels.Area = ? ORDER BY AreaChannels.Channel, AreaChannels.rowid"),
        {area});
    std::vector<AreaChannel> channels;
    std::set<int> seen;
    while (query.next()) {
        const std::optional<int> channel = storedInt(query.value(0));
        if (!channel || *channel < 1 || *channel > kLastChannel || !seen.insert(*channel).second) continue;
        channels.push_back({*channel, query.value(1).toString()});
    }
    return channels;
}

void setChannelDescription(store::Database& db, int area, int channel, const QString& name) {
    store::Transaction transaction(db);
    db.run(QStringLiteral("DELETE FROM AreaChannels WHERE Area = ? AND Channel = ?"), {area, channel});
    db.run(QStringLiteral("INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES (?, ?, ?)"),
           {area, channel, name});
    transaction.commit();
}

std::vector<int> addSeekChannels(store::Database& db, int area, const std::vector<int>& channels) {
    std::set<int> known;
    for (const AreaChannel& c : loadAreaChannels(db, area)) known.insert(c.channel);
    std::vector<int> added;
    store::Transaction transaction(db);
    QSqlQuery insert =
        db.prepare(QStringLiteral("INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES (?, ?, ?)"));
    for (int channel : channels) {
        if (!known.insert(channel).second) continue;
        insert.bindValue(0, area);
        insert.bindValue(1, channel);
        insert.bindValue(2, kSeekChannelName);
        db.exec(insert);
        added.push_back(channel);
    }
    transaction.commit();
    return added;
}

}  // namespace qv::reactions
