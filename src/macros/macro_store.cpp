#include "macros/macro_store.h"

#include "macros/logging.h"
#include "macros/macro_rows.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QSqlQuery>

#include <algorithm>

namespace qv::macros {

namespace {

QString errorText(const std::exception& e) {
    return QString::fromUtf8(e.what());
}

}  // namespace

MacroStore::MacroStore(store::Database& db) : m_db(db) {}

LoadResult MacroStore::LoadMacroLines(const QString& macroName) {
    LoadResult result;
    try {
        if (const auto id = rows::macroIdByName(m_db, macroName))
            result.lines = rows::readMacroLines(m_db, *id);
    } catch (const store::StoreError& e) {
        result.error = QStringLiteral("The macro '%1' could not be read: %2").arg(macroName, errorText(e));
        qCWarning(lcMacros) << result.error;
    }
    return result;
}

SaveReport MacroStore::SaveMacroLines(const QString& macroName, const MacroLines& lines) {
    SaveReport report;
    if (macroName.isEmpty()) return report;
    try {
        store::Transaction transaction(m_db);
        qint64 macroId = 0;
        if (const auto id = rows::macroIdByName(m_db, macroName)) {
            macroId = *id;
            rows::deleteMacroLines(m_db, macroId);
        } else {
            QSqlQuery add = m_db.run(
                QStringLiteral("INSERT INTO Macros (Macro, Enabled, MacroFolder_ID) VALUES (?, 1, 0)"),
                {macroName});
            macroId = add.lastInsertId().toLongLong();
            m_db.run(QStringLiteral("UPDATE Macros SET SortOrder = Macro_ID WHERE Macro_ID = ?"), {macroId});
        }
        rows::writeMacroLines(m_db, macroId, lines, report.messages);
        transaction.commit();
        report.saved = true;
    } catch (const store::StoreError& e) {
        report.saved = false;
        report.messages << QStringLiteral(
                               "The macro '%1' could not be saved, its stored lines are unchanged: %2")
                               .arg(macroName, errorText(e));
        qCWarning(lcMacros) << report.messages.last();
    }
    return report;
}

QString MacroStore::updateLineComment(const QString& macroName, qsizetype index, const QString& comment) {
    if (index < 0) return QStringLiteral("The macro '%1' has no line %2").arg(macroName).arg(index + 1);
    try {
        const auto id = rows::macroIdByName(m_db, macroName);
        if (!id) return QStringLiteral("The macro '%1' does not exist").arg(macroName);
        QSqlQuery find =
            m_db.run(QStringLiteral("SELECT MacroDetails_ID FROM MacrosDetails WHERE Macro_ID = ? ORDER "
                                    "BY MacroDetails_ID LIMIT 1 OFFSET ?"),
                     {*id, static_cast<qint64>(index)});
        if (!find.next())
            return QStringLiteral("The macro '%1' has no line %2").arg(macroName).arg(index + 1);
        const qint64 lineId = find.value(0).toLongLong();
        find.finish();
        m_db.run(QStringLiteral("UPDATE MacrosDetails SET Description = ? WHERE MacroDetails_ID = ?"),
                 {comment, lineId});
    } catch (const store::StoreError& e) {
        return QStringLiteral("The comment could not be saved: %1").arg(errorText(e));
    }
    return {};
}

std::vector<qint64> MacroStore::findMacros(const QString& text) {
    std::vector<qint64> found;
    if (text.isEmpty()) return found;
    QSqlQuery select = m_db.run(QStringLiteral("SELECT Macro_ID, Macro FROM Macros ORDER BY Macro_ID"));
    std::vector<std::pair<qint64, QString>> macros;
    while (select.next()) macros.emplace_back(select.value(0).toLongLong(), select.value(1).toString());
    select.finish();
    for (const auto& [id, name] : macros) {
        const auto matches = [&text](const QString& s) { return s.contains(text, Qt::CaseInsensitive); };
        if (matches(name)) {
            found.push_back(id);
            continue;
        }
        const QStringList displays = rows::readMacroLines(m_db, id).displayTexts;
        if (std::any_of(displays.begin(), displays.end(), matches)) found.push_back(id);
    }
    return found;
}

}  // namespace qv::macros
