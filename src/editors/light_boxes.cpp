#include "editors/light_boxes.h"

#include "macros/stored_message.h"
#include "net/builders.h"
#include "store/database.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QSqlQuery>
#include <QVariant>

namespace qv::editors {

namespace {

reactions::EditorResult refused(const QString& text, reactions::MessageIcon icon) {
    return reactions::EditorResult::refused(text, icon);
}

}  // namespace

reactions::EditorResult LightBoxStore::checkEntries(const QString& box, int area, int first,
                                                    const QStringList& names) {
    bool number = false;
    const int value = box.trimmed().toInt(&number);
    if (!number || value < 0 || value > 255)
        return refused(kNeedBoxNumber, reactions::MessageIcon::Exclamation);
    if (area < 0 || first <= 0) return refused(kNeedAreaAndChannels, reactions::MessageIcon::Exclamation);
    for (int i = 0; i < 3; ++i)
        if (names.value(i).trimmed().isEmpty())
            return refused(kNeedNames, reactions::MessageIcon::Exclamation);
    return reactions::EditorResult::ok();
}

LightBoxStore::LightBoxStore(store::Database& db) : m_db(db) {}

std::vector<LightBoxChannel> LightBoxStore::boxes() {
    QSqlQuery q =
        m_db.run(QStringLiteral("SELECT CorvalinLightBox_ID, CorvalinBoxNumber, Area, Channel, ChannelDesc "
                                "FROM CorvalinLightBox ORDER BY CorvalinBoxNumber, Channel"),
                 {});
    std::vector<LightBoxChannel> out;
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(),
                       q.value(4).toString()});
    return out;
}

std::vector<LightBoxLevel> LightBoxStore::levels(int lightBoxChannelId) {
    QSqlQuery q = m_db.run(QStringLiteral("SELECT CorvalinChannelLevel_ID, ChannelLevel, ChannelLevelDesc "
                                          "FROM CorvalinChannelLevels WHERE CorvalinLightBox_ID = ? "
                                          "ORDER BY ChannelLevel"),
                           {lightBoxChannelId});
    std::vector<LightBoxLevel> out;
    while (q.next()) out.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString()});
    return out;
}

std::vector<LightBoxLevel> LightBoxStore::favourites(int area, int channel) {
    QSqlQuery q = m_db.run(
        QStringLiteral("SELECT DISTINCT l.ChannelLevel, l.ChannelLevelDesc FROM CorvalinChannelLevels l "
                       "JOIN CorvalinLightBox b ON b.CorvalinLightBox_ID = l.CorvalinLightBox_ID "
                       "WHERE b.CorvalinBoxNumber NOT IN (SELECT CorvalinBoxNumber FROM CorvalinLightBox "
                       "WHERE Area = ? AND Channel = ?) ORDER BY 1, 2"),
        {area, channel});
    std::vector<LightBoxLevel> out;
    while (q.next()) out.push_back({0, q.value(0).toInt(), q.value(1).toString()});
    return out;
}

reactions::EditorResult LightBoxStore::checkFirstChannel(int box, int area, int first) {
    try {
        const QString sql = QStringLiteral(
            "SELECT CorvalinBoxNumber FROM CorvalinLightBox WHERE Area = ? AND Channel = ? AND "
            "CorvalinBoxNumber <> ?");
        QSqlQuery same = m_db.run(sql, {area, first, box});
        if (same.next())
            return refused(kUsedPrefix + same.value(0).toString() + QLatin1Char('\n') + kUsedSuffix,
                           reactions::MessageIcon::Information);
        for (int next : {first + 1, first + 2}) {
            QSqlQuery after = m_db.run(sql, {area, next, box});
            if (after.next())
                return refused(kNextTwo + QLatin1Char('\n') + kNextTwoHint,
                               reactions::MessageIcon::Information);
        }
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return refused(QString::fromUtf8(e.what()), reactions::MessageIcon::Critical);
    }
}

reactions::EditorResult LightBoxStore::saveBox(int box, int area, int first, const QStringList& names) {
    if (const auto check = checkFirstChannel(box, area, first); !check.done) return check;
    try {
        store::Transaction transaction(m_db);
        QSqlQuery rows = m_db.run(
            QStringLiteral("SELECT CorvalinLightBox_ID FROM CorvalinLightBox WHERE CorvalinBoxNumber = ? "
                           "ORDER BY CorvalinLightBox_ID"),
            {box});
        std::vector<int> ids;
        while (rows.next()) ids.push_back(rows.value(0).toInt());
        for (int i = 0; i < 3; ++i) {
            const QString name = names.value(i);
            if (i < int(ids.size()))
                m_db.run(QStringLiteral("UPDATE CorvalinLightBox SET Area = ?, Channel = ?, ChannelDesc = ? "
                                        "WHERE CorvalinLightBox_ID = ?"),
                         {area, first + i, name, ids[std::size_t(i)]});
            else
                m_db.run(QStringLiteral("INSERT INTO CorvalinLightBox (CorvalinBoxNumber, Area, Channel, "
                                        "ChannelDesc) VALUES (?, ?, ?, ?)"),
                         {box, area, first + i, name});
        }
        QSqlQuery levels = m_db.run(QStringLiteral("SELECT l.CorvalinChannelLevel_ID, b.Area, b.Channel, "
                                                   "l.ChannelLevel FROM CorvalinLightBox b JOIN "
                                                   "CorvalinChannelLevels l ON b.CorvalinLightBox_ID = "
                                                   "l.CorvalinLightBox_ID WHERE l.ChannelLevel IS NOT NULL"),
                                    {});
        std::vector<std::pair<int, QByteArray>> messages;
        while (levels.next())
            if (const auto message = net::ChannelLevelMessage(
                    levels.value(1).toInt(), levels.value(2).toInt(), levels.value(3).toInt()))
                messages.emplace_back(levels.value(0).toInt(), macros::storedBytes(*message));
        for (const auto& [id, bytes] : messages)
            m_db.run(QStringLiteral("UPDATE CorvalinChannelLevels SET CorvalinRS232 = ? "
                                    "WHERE CorvalinChannelLevel_ID = ?"),
                     {bytes, id});
        transaction.commit();
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return refused(QString::fromUtf8(e.what()), reactions::MessageIcon::Critical);
    }
}

reactions::EditorResult LightBoxStore::deleteBox(int box) {
    try {
        m_db.run(QStringLiteral("DELETE FROM CorvalinLightBox WHERE CorvalinBoxNumber = ?"), {box});
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return refused(QString::fromUtf8(e.what()), reactions::MessageIcon::Critical);
    }
}

int LightBoxStore::channelId(int area, int channel) {
    QSqlQuery q = m_db.run(
        QStringLiteral("SELECT CorvalinLightBox_ID FROM CorvalinLightBox WHERE Area = ? AND Channel = ?"),
        {area, channel});
    return q.next() ? q.value(0).toInt() : 0;
}

reactions::EditorResult LightBoxStore::addLevel(int area, int channel, const QString& level,
                                                const QString& name) {
    if (level.trimmed().isEmpty() || name.trimmed().isEmpty())
        return refused(kNeedLevel, reactions::MessageIcon::Exclamation);
    bool number = false;
    const int value = level.trimmed().toInt(&number);
    if (!number || value < 0 || value > 255) return refused(kLevelRange, reactions::MessageIcon::Exclamation);
    try {
        const int id = channelId(area, channel);
        if (id == 0) return refused(kNeedLevel, reactions::MessageIcon::Exclamation);
        for (const auto& existing : levels(id))
            if (existing.level == value || existing.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
                return refused(kLevelTaken, reactions::MessageIcon::Exclamation);
        const auto message = net::ChannelLevelMessage(area, channel, value);
        m_db.run(QStringLiteral("INSERT INTO CorvalinChannelLevels (CorvalinLightBox_ID, ChannelLevel, "
                                "ChannelLevelDesc, CorvalinRS232) VALUES (?, ?, ?, ?)"),
                 {id, value, name.trimmed(), message ? QVariant(macros::storedBytes(*message)) : QVariant()});
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return refused(QString::fromUtf8(e.what()), reactions::MessageIcon::Critical);
    }
}

reactions::EditorResult LightBoxStore::deleteLevel(int area, int channel, int level) {
    try {
        m_db.run(
            QStringLiteral("DELETE FROM CorvalinChannelLevels WHERE ChannelLevel = ? AND CorvalinLightBox_ID "
                           "IN (SELECT CorvalinLightBox_ID FROM CorvalinLightBox WHERE Area = ? AND "
                           "Channel = ?)"),
            {level, area, channel});
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return refused(QString::fromUtf8(e.what()), reactions::MessageIcon::Critical);
    }
}

}  // namespace qv::editors
