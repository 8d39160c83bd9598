#pragma once
// Corvalin light boxes: three consecutive channels of one area, each with
// named levels. The reader serves pick lists (the macro editor's light-box
// lines); the checks keep a channel in at most one box; saving a box brings
// the stored message of every named level in step with its channel.

#include "features/reactions/editor_result.h"

#include <QString>

#include <vector>

namespace qv::store {
class Database;
}

namespace qv::editors {

struct LightBoxChannel {
    int id = 0;  // CorvalinLightBox_ID
    int box = 0;
    int area = 0;
    int channel = 0;
    QString name;  // ChannelDesc
};

struct LightBoxLevel {
    int id = 0;  // CorvalinChannelLevel_ID
    int level = 0;
    QString name;  // ChannelLevelDesc
};

class LightBoxStore {
public:
    static inline const QString kUsedPrefix = QStringLiteral("This channel is used by Lightbox number ");
    static inline const QString kUsedSuffix = QStringLiteral("You can not use this channel");
    static inline const QString kNextTwo = QStringLiteral(
        "The next two channels, after the one which you select, must be available to use. Channels must be "
        "consecutive.");
    static inline const QString kNextTwoHint =
        QStringLiteral("You should select a Channel that has two un-used channels directly after it.");

    explicit LightBoxStore(store::Database& db);

    // Each throws store::StoreError. Every channel row of every box, by box then channel.
    std::vector<LightBoxChannel> boxes();
    // The named levels of one channel row, by level.
    std::vector<LightBoxLevel> levels(int lightBoxChannelId);

    // Whether box may start on channel first of area: its three channels are
    // free of every other box. Refusals are information messages.
    reactions::EditorResult checkFirstChannel(int box, int area, int first);

    // Adds or rewrites the box's three rows and rewrites every level's message,
    // in one transaction.
    reactions::EditorResult saveBox(int box, int area, int first, const QStringList& names);

private:
    store::Database& m_db;
};

}  // namespace qv::editors
