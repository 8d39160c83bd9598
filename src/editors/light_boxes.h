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

    static inline const QString kNeedLevel = QStringLiteral(
        "You need to enter a Level for this channel and then a Description of it. e.g.  22%, Clockwise Fast  "
        "or  "
        "13%, RED");
    static inline const QString kLevelRange = QStringLiteral("The level must be expressed as 0-255");
    static inline const QString kLevelTaken =
        QStringLiteral("That Channel level or Description has already been assigned for this Light Box");

    static inline const QString kNeedBoxNumber =
        QStringLiteral("You need to enter a number between 0-255 for the LightBox");
    static inline const QString kNeedAreaAndChannels =
        QStringLiteral("You need to enter an Area and select Channels before saving");
    static inline const QString kNeedNames = QStringLiteral(
        "You must enter a description for each channel in the light box. This description will be used to "
        "refer "
        "to this channel in the future.");

    // The entries of the light-box window before saving, checked in order;
    // area is -1 and first 0 when not chosen.
    static reactions::EditorResult checkEntries(const QString& box, int area, int first,
                                                const QStringList& names);

    explicit LightBoxStore(store::Database& db);

    // Each throws store::StoreError. Every channel row of every box, by box then channel.
    std::vector<LightBoxChannel> boxes();
    // The named levels of one channel row, by level.
    std::vector<LightBoxLevel> levels(int lightBoxChannelId);
    // The level and name pairs named on the channels of every box but the one
    // holding (area, channel), each pair once, by level then name (id 0).
    std::vector<LightBoxLevel> favourites(int area, int channel);

    // Whether box may start on channel first of area: its three channels are
    // free of every other box. Refusals are information messages.
    reactions::EditorResult checkFirstChannel(int box, int area, int first);

    // Adds or rewrites the box's three rows and rewrites every level's message,
    // in one transaction.
    reactions::EditorResult saveBox(int box, int area, int first, const QStringList& names);

    // Removes every channel row of the box.
    reactions::EditorResult deleteBox(int box);
    // The channel row of (area, channel), 0 when no box uses it.
    int channelId(int area, int channel);
    // Names a level of the channel of (area, channel) and stores its message;
    // the level and the name must be new to that channel.
    reactions::EditorResult addLevel(int area, int channel, const QString& level, const QString& name);
    reactions::EditorResult deleteLevel(int area, int channel, int level);

private:
    store::Database& m_db;
};

}  // namespace qv::editors
