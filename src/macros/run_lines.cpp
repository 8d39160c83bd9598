#include "macros/run_lines.h"

#include "macros/display_text.h"
#include "macros/macro_rows.h"
#include "macros/number_text.h"
#include "net/message.h"

#include <QSqlQuery>

namespace qv::macros {

namespace {

enum Col {
    OrvanetId,
    OrvanetRS232,
    Delay,
    WAVFile,
    Rollcall,
    CustomCodeId,
    CustomCodeName,
    CustomCodeRS232,
    SubMacro,
    CancelMacro,
    EnableMacro,
    DisableMacro,
    EmailId,
    EmailName,
    LevelId,
    CorvalinRS232,
    TreeViewId,
};

const char* const kRunQuery =
    "SELECT d.Orvanet_ID, o.OrvanetRS232, d.Delay, w.WAVFile, d.Rollcall, d.CustomCode_ID, c.CustomCodeName,"
    " c.CustomCodeRS232, d.SubMacro, d.CancelMacro, d.EnableMacro, d.DisableMacro, d.Email_ID, e.EmailName,"
    " d.CorvalinChannelLevel_ID, l.CorvalinRS232, d.TreeView_ID "
    "FROM MacrosDetails d"
    " LEFT JOIN Orvanet o ON o.Orvanet_ID = d.Orvanet_ID"
    " LEFT JOIN WAVfiles w ON w.WAVfile_ID = d.WAVfile_ID"
    " LEFT JOIN CustomCodes c ON c.CustomCode_ID = d.CustomCode_ID"
    " LEFT JOIN Emails e ON e.Email_ID = d.Email_ID"
    " LEFT JOIN CorvalinChannelLevels l ON l.CorvalinChannelLevel_ID = d.CorvalinChannelLevel_ID "
    "WHERE d.Macro_ID = ? ORDER BY d.MacroDetails_ID";

bool nonZero(const QVariant& v) {
    return !v.isNull() && v.toLongLong() != 0;
}

QString hexOf(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

RunLine network(const QVariant& stored, const QString& what) {
    RunLine line;
    line.kind = RunLine::Kind::Network;
    line.message = storedMessageBytes(stored);
    line.command = what + QStringLiteral(": ") + hexOf(line.message);
    return line;
}

RunLine named(RunLine::Kind kind, const QString& text, const QString& command) {
    RunLine line;
    line.kind = kind;
    line.text = text;
    line.command = command;
    return line;
}

RunLine lineOf(const QSqlQuery& row) {
    const auto v = [&row](Col c) { return row.value(static_cast<int>(c)); };
    const auto text = [&row](Col c) { return row.value(static_cast<int>(c)).toString(); };

    if (nonZero(v(OrvanetId))) return network(v(OrvanetRS232), QStringLiteral("Send"));
    if (!v(Delay).isNull()) {
        RunLine line;
        line.kind = RunLine::Kind::Delay;
        line.seconds = v(Delay).toDouble();
        line.command = delayDisplay(line.seconds);
        return line;
    }
    if (!v(WAVFile).isNull()) return named(RunLine::Kind::Wav, text(WAVFile), wavDisplay(text(WAVFile)));
    if (!v(Rollcall).isNull())
        return named(RunLine::Kind::RollCall, text(Rollcall), rollCallDisplay(text(Rollcall)));
    if (nonZero(v(CustomCodeId))) return network(v(CustomCodeRS232), customDisplay(text(CustomCodeName)));
    if (!v(SubMacro).isNull())
        return named(RunLine::Kind::SubMacro, text(SubMacro), subMacroDisplay(text(SubMacro)));
    if (!v(CancelMacro).isNull())
        return named(RunLine::Kind::CancelMacro, text(CancelMacro), cancelMacroDisplay(text(CancelMacro)));
    if (!v(EnableMacro).isNull())
        return named(RunLine::Kind::EnableMacro, text(EnableMacro), enableMacroDisplay(text(EnableMacro)));
    if (!v(DisableMacro).isNull())
        return named(RunLine::Kind::DisableMacro, text(DisableMacro),
                     disableMacroDisplay(text(DisableMacro)));
    if (!v(EmailId).isNull())
        return named(RunLine::Kind::Email, text(EmailName), emailDisplay(text(EmailName)));
    if (nonZero(v(LevelId))) return network(v(CorvalinRS232), QStringLiteral("Light box"));
    if (!v(TreeViewId).isNull()) {
        RunLine line;
        line.kind = RunLine::Kind::PlanView;
        line.number = v(TreeViewId).toLongLong();
        line.command = planViewDisplay(QString::number(line.number));
        return line;
    }
    return named(RunLine::Kind::Nothing, QString(), emptyLineDisplay());
}

}  // namespace

QByteArray storedMessageBytes(const QVariant& field) {
    if (field.isNull()) return {};
    if (field.typeId() == QMetaType::QString) {
        // Eight characters whose codes are the bytes; codes above 255 cannot be bytes.
        const QString text = field.toString();
        QByteArray bytes;
        bytes.reserve(text.size());
        for (QChar c : text) {
            if (c.unicode() > 0xFF) return {};
            bytes.append(static_cast<char>(c.unicode()));
        }
        return bytes;
    }
    return field.toByteArray();
}

std::vector<RunLine> readRunLines(store::Database& db, const QString& macroName) {
    std::vector<RunLine> lines;
    const auto id = rows::macroIdByName(db, macroName);
    if (!id) return lines;
    QSqlQuery query = db.run(QString::fromLatin1(kRunQuery), {*id});
    while (query.next()) lines.push_back(lineOf(query));
    return lines;
}

}  // namespace qv::macros
