// Reading a macro's rows back as command lines and display texts (the opening
// half of the macro store).

#include "macros/command_line.h"
#include "macros/display_text.h"
#include "macros/macro_rows.h"
#include "macros/number_text.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

#include <optional>

namespace qv::macros::rows {

namespace {

// Columns of the line query, in select order.
enum Col {
    Description,
    OrvanetId,
    Area,
    Preset,
    Fade,
    Channel,
    Level,
    AreaName,
    PresetName,
    Channelname,
    Delay,
    WAVFile,
    Rollcall,
    CustomCodeName,
    SubMacro,
    CancelMacro,
    EnableMacro,
    DisableMacro,
    EmailName,
    EmailId,
    LevelId,
    BoxNumber,
    BoxChannel,
    ChannelDesc,
    ChannelLevelDesc,
    TreeViewId,
};

const char* const kLineQuery =
    "SELECT d.Description, d.Orvanet_ID, o.Area, o.Preset, o.Fade, o.Channel, o.Level, "
    " (SELECT AreaName FROM AreaNames WHERE Area = o.Area LIMIT 1),"
    " (SELECT PresetName FROM PresetNames WHERE Area = o.Area AND Preset = o.Preset LIMIT 1),"
    " (SELECT Channelname FROM AreaChannels WHERE Area = o.Area AND Channel = o.Channel LIMIT 1),"
    " d.Delay, w.WAVFile, d.Rollcall, c.CustomCodeName, d.SubMacro, d.CancelMacro, d.EnableMacro,"
    " d.DisableMacro, e.EmailName, d.Email_ID, d.CorvalinChannelLevel_ID, b.CorvalinBoxNumber, b.Channel,"
    " b.ChannelDesc, l.ChannelLevelDesc, d.TreeView_ID "
    "FROM MacrosDetails d"
    " LEFT JOIN Orvanet o ON o.Orvanet_ID = d.Orvanet_ID"
    " LEFT JOIN WAVfiles w ON w.WAVfile_ID = d.WAVfile_ID"
    " LEFT JOIN CustomCodes c ON c.CustomCode_ID = d.CustomCode_ID"
    " LEFT JOIN Emails e ON e.Email_ID = d.Email_ID"
    " LEFT JOIN CorvalinChannelLevels l ON l.CorvalinChannelLevel_ID = d.CorvalinChannelLevel_ID"
    " LEFT JOIN CorvalinLightBox b ON b.CorvalinLightBox_ID = l.CorvalinLightBox_ID "
    "WHERE d.Macro_ID = ? ORDER BY d.MacroDetails_ID";

bool present(const QVariant& v) {
    return !v.isNull();
}

bool nonZero(const QVariant& v) {
    return !v.isNull() && v.toLongLong() != 0;
}

QString numberText(const QVariant& v) {
    return defaultText(v.toDouble());
}

// The full paths of plan-view nodes: the labels from the top view down,
// separated by "\" as the plan-view tree shows them. Read once per load.
class PlanViewPaths {
public:
    explicit PlanViewPaths(store::Database& db) : m_db(db) {}

    QString fullPath(qint64 id) {
        load();
        QStringList labels;
        QSet<qint64> seen;  // a damaged table may hold a loop of parents
        for (auto it = m_nodes.constFind(id); it != m_nodes.constEnd() && !seen.contains(it.key());
             it = m_nodes.constFind(it->parent)) {
            seen.insert(it.key());
            labels.prepend(it->label);
        }
        return labels.join(QLatin1Char('\\'));
    }

private:
    struct Node {
        QString label;
        qint64 parent = 0;
    };

    void load() {
        if (m_loaded) return;
        m_loaded = true;
        QSqlQuery query = m_db.run(QStringLiteral("SELECT TreeView_ID, Label, ChildOf FROM TreeView"));
        while (query.next())
            m_nodes.insert(query.value(0).toLongLong(),
                           {query.value(1).toString(), query.value(2).toLongLong()});
    }

    store::Database& m_db;
    bool m_loaded = false;
    QHash<qint64, Node> m_nodes;
};

struct Line {
    QString command;
    QString display;
};

Line lineOf(const QSqlQuery& row, PlanViewPaths& paths) {
    const auto v = [&row](Col c) { return row.value(static_cast<int>(c)); };
    const auto text = [&row](Col c) { return row.value(static_cast<int>(c)).toString(); };

    if (nonZero(v(OrvanetId))) {
        const double fade = v(Fade).toDouble();
        if (nonZero(v(Channel))) {
            return {channelLine(numberText(v(Area)), numberText(v(Channel)), numberText(v(Level)),
                                defaultText(fade)),
                    channelDisplay(text(AreaName), v(Area).toInt(), text(Channelname), v(Channel).toInt(),
                                   v(Level).toInt(), fade)};
        }
        return {presetLine(numberText(v(Area)), numberText(v(Preset)), defaultText(fade)),
                presetDisplay(text(AreaName), v(Area).toInt(), text(PresetName), v(Preset).toInt(), fade)};
    }
    if (present(v(Delay))) return {delayLine(numberText(v(Delay))), delayDisplay(v(Delay).toDouble())};
    if (present(v(WAVFile))) return {wavLine(text(WAVFile)), wavDisplay(text(WAVFile))};
    if (present(v(Rollcall))) return {rollCallLine(text(Rollcall)), rollCallDisplay(text(Rollcall))};
    if (present(v(CustomCodeName)))
        return {customLine(text(CustomCodeName)), customDisplay(text(CustomCodeName))};
    if (present(v(SubMacro))) return {subMacroLine(text(SubMacro)), subMacroDisplay(text(SubMacro))};
    if (present(v(CancelMacro)))
        return {cancelMacroLine(text(CancelMacro)), cancelMacroDisplay(text(CancelMacro))};
    if (present(v(EnableMacro)))
        return {enableMacroLine(text(EnableMacro)), enableMacroDisplay(text(EnableMacro))};
    if (present(v(DisableMacro)))
        return {disableMacroLine(text(DisableMacro)), disableMacroDisplay(text(DisableMacro))};
    if (present(v(EmailName))) return {emailLine(text(EmailId)), emailDisplay(text(EmailName))};
    if (nonZero(v(LevelId))) {
        return {corvalinLine(text(BoxNumber), text(BoxChannel), text(LevelId)),
                corvalinDisplay(text(BoxNumber), text(ChannelDesc), text(ChannelLevelDesc))};
    }
    if (present(v(TreeViewId))) {
        const qint64 id = v(TreeViewId).toLongLong();
        const QString path = paths.fullPath(id);
        return {planViewLine(path, planViewKey(id)), planViewDisplay(path)};
    }
    // No action left (its shared row was deleted): shown, and saved again as
    // a line with only its comment.
    return {QString(), emptyLineDisplay()};
}

}  // namespace

MacroLines readMacroLines(store::Database& db, qint64 macroId) {
    MacroLines lines;
    PlanViewPaths paths(db);
    QSqlQuery query = db.run(QString::fromLatin1(kLineQuery), {macroId});
    while (query.next()) {
        const Line line = lineOf(query, paths);
        lines.append(line.display, line.command, query.value(static_cast<int>(Description)).toString());
    }
    return lines;
}

}  // namespace qv::macros::rows
