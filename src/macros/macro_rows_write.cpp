// Writing command lines as MacrosDetails rows (the saving half of the macro store).

#include "macros/command_line.h"
#include "macros/macro_rows.h"
#include "macros/stored_message.h"

#include <QSqlQuery>
#include <QVariant>

namespace qv::macros::rows {

namespace {

const QString kRelatedRecordMissing =
    QStringLiteral("A related record is missing or has been deleted, can not save this macro");

// The action fields of one MacrosDetails row; every field not set stays Null.
struct DetailFields {
    QVariant Delay, SubMacro, CancelMacro, EnableMacro, DisableMacro, Rollcall;
    QVariant Orvanet_ID, WAVfile_ID, Email_ID, CustomCode_ID, CorvalinChannelLevel_ID, TreeView_ID;
};

class LineWriter {
public:
    LineWriter(store::Database& db, qint64 macroId)
        : m_db(db),
          m_macroId(macroId),
          m_detail(db.prepare(QStringLiteral(
              "INSERT INTO MacrosDetails (Macro_ID, Description, Delay, SubMacro, CancelMacro, EnableMacro, "
              "DisableMacro, Rollcall, Orvanet_ID, WAVfile_ID, Email_ID, CustomCode_ID, "
              "CorvalinChannelLevel_ID, "
              "TreeView_ID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"))),
          m_presetRow(db.prepare(
              QStringLiteral("INSERT INTO Orvanet (Area, Preset, Fade, OrvanetRS232) VALUES (?, ?, ?, ?)"))),
          m_channelRow(db.prepare(QStringLiteral(
              "INSERT INTO Orvanet (Area, Channel, Level, Fade, OrvanetRS232) VALUES (?, ?, ?, ?, ?)"))),
          m_wavRow(db.prepare(QStringLiteral("INSERT INTO WAVfiles (WAVFile) VALUES (?)"))),
          m_customCode(db.prepare(QStringLiteral("SELECT CustomCode_ID FROM CustomCodes WHERE CustomCodeName "
                                                 "= ? ORDER BY CustomCode_ID LIMIT 1"))),
          m_email(db.prepare(QStringLiteral("SELECT count(*) FROM Emails WHERE Email_ID = ?"))),
          m_level(db.prepare(QStringLiteral(
              "SELECT count(*) FROM CorvalinChannelLevels WHERE CorvalinChannelLevel_ID = ?"))) {}

    // lineNumber is 1-based, for the messages.
    void write(int lineNumber, const QString& line, const QString& comment, QStringList& messages) {
        const ParsedLine parsed = parseCommandLine(line);
        DetailFields fields;
        switch (parsed.kind) {
            case LineKind::None:
                break;
            case LineKind::Orvanet: {
                const std::optional<qint64> id = writeOrvanet(parsed, lineNumber, messages);
                if (!id) return;
                fields.Orvanet_ID = *id;
                break;
            }
            case LineKind::Delay:
                if (parsed.delay < 0) {
                    messages << notSaved(lineNumber, QStringLiteral("A delay can not be negative"));
                    return;
                }
                fields.Delay = parsed.delay;
                break;
            case LineKind::Wav:
                m_wavRow.addBindValue(parsed.text);
                m_db.exec(m_wavRow);
                fields.WAVfile_ID = m_wavRow.lastInsertId();
                break;
            case LineKind::RollCall:
                fields.Rollcall = parsed.text;
                break;
            case LineKind::Custom: {
                m_customCode.addBindValue(parsed.text);
                m_db.exec(m_customCode);
                if (m_customCode.next()) {
                    fields.CustomCode_ID = m_customCode.value(0);
                } else {
                    // The line keeps its place and comment, so the user sees where the code was.
                    messages << QStringLiteral(
                                    "The custom code '%1' no longer exists; line %2 was saved without it")
                                    .arg(parsed.text)
                                    .arg(lineNumber);
                }
                m_customCode.finish();
                break;
            }
            case LineKind::SubMacro:
                fields.SubMacro = parsed.text;
                break;
            case LineKind::EnableMacro:
                fields.EnableMacro = parsed.text;
                break;
            case LineKind::DisableMacro:
                fields.DisableMacro = parsed.text;
                break;
            case LineKind::CancelMacro:
                fields.CancelMacro = parsed.text;
                break;
            case LineKind::Email: {
                const qint64 id = storedWhole(parsed.number);
                if (!exists(m_email, id)) {
                    messages << kRelatedRecordMissing;
                    return;
                }
                fields.Email_ID = id;
                break;
            }
            case LineKind::Corvalin: {
                const qint64 id = storedWhole(parsed.number);
                if (!exists(m_level, id)) {
                    messages << kRelatedRecordMissing;
                    return;
                }
                fields.CorvalinChannelLevel_ID = id;
                break;
            }
            case LineKind::PlanView:
                // Plan-view nodes are referred to only; a key without a number gives 0.
                fields.TreeView_ID = static_cast<qint64>(storedWhole(parsed.number));
                break;
        }
        insertDetail(comment, fields);
    }

private:
    static QString notSaved(int lineNumber, const QString& why) {
        return QStringLiteral("Line %1 was not saved: %2").arg(lineNumber).arg(why);
    }

    bool exists(QSqlQuery& query, qint64 id) {
        query.addBindValue(id);
        m_db.exec(query);
        const bool found = query.next() && query.value(0).toLongLong() > 0;
        query.finish();
        return found;
    }

    std::optional<qint64> writeOrvanet(const ParsedLine& parsed, int lineNumber, QStringList& messages) {
        const int area = storedWhole(parsed.area);
        const double fade = storedFade(parsed.fade);
        if (parsed.channelLine) {
            const int channel = storedWhole(parsed.channel);
            const int level = storedWhole(parsed.level);
            const StoredMessage message = channelMessage(area, channel, level, fade);
            if (!message.message) {
                messages << notSaved(lineNumber, message.error);
                return std::nullopt;
            }
            m_channelRow.addBindValue(area);
            m_channelRow.addBindValue(channel);
            m_channelRow.addBindValue(level);
            m_channelRow.addBindValue(fade);
            m_channelRow.addBindValue(storedBytes(*message.message));
            m_db.exec(m_channelRow);
            return m_channelRow.lastInsertId().toLongLong();
        }
        const int preset = storedWhole(parsed.preset);
        const StoredMessage message = presetMessage(area, preset, fade);
        if (!message.message) {
            messages << notSaved(lineNumber, message.error);
            return std::nullopt;
        }
        m_presetRow.addBindValue(area);
        m_presetRow.addBindValue(preset);
        m_presetRow.addBindValue(fade);
        m_presetRow.addBindValue(storedBytes(*message.message));
        m_db.exec(m_presetRow);
        return m_presetRow.lastInsertId().toLongLong();
    }

    void insertDetail(const QString& comment, const DetailFields& f) {
        for (const QVariant& value :
             {QVariant(m_macroId), QVariant(comment), f.Delay, f.SubMacro, f.CancelMacro, f.EnableMacro,
              f.DisableMacro, f.Rollcall, f.Orvanet_ID, f.WAVfile_ID, f.Email_ID, f.CustomCode_ID,
              f.CorvalinChannelLevel_ID, f.TreeView_ID})
            m_detail.addBindValue(value);
        m_db.exec(m_detail);
    }

    store::Database& m_db;
    qint64 m_macroId;
    QSqlQuery m_detail;
    QSqlQuery m_presetRow;
    QSqlQuery m_channelRow;
    QSqlQuery m_wavRow;
    QSqlQuery m_customCode;
    QSqlQuery m_email;
    QSqlQuery m_level;
};

}  // namespace

std::optional<qint64> macroIdByName(store::Database& db, const QString& name) {
    QSqlQuery query = db.run(
        QStringLiteral("SELECT Macro_ID FROM Macros WHERE Macro = ? ORDER BY Macro_ID LIMIT 1"), {name});
    if (!query.next()) return std::nullopt;
    return query.value(0).toLongLong();
}

void deleteMacroLines(store::Database& db, qint64 macroId) {
    // Owned rows first, while the lines that name them still exist.
    for (const char* sql :
         {"DELETE FROM Orvanet WHERE Orvanet_ID IN (SELECT Orvanet_ID FROM MacrosDetails WHERE Macro_ID = ?)",
          "DELETE FROM WAVfiles WHERE WAVfile_ID IN (SELECT WAVfile_ID FROM MacrosDetails WHERE Macro_ID = "
          "?)",
          "DELETE FROM MacrosDetails WHERE Macro_ID = ?"}) {
        db.run(QString::fromLatin1(sql), {macroId});
    }
}

void writeMacroLines(store::Database& db, qint64 macroId, const MacroLines& lines, QStringList& messages) {
    LineWriter writer(db, macroId);
    for (qsizetype i = 0; i < lines.commandLines.size(); ++i)
        writer.write(static_cast<int>(i + 1), lines.commandLines.at(i), lines.comments.value(i), messages);
}

}  // namespace qv::macros::rows
