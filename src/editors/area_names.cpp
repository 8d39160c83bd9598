#include "editors/area_names.h"

#include "store/database.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QSqlQuery>
#include <QVariant>

namespace qv::editors {

namespace {

std::vector<NameRow> rows(QSqlQuery query) {
    std::vector<NameRow> out;
    while (query.next())
        if (!query.value(0).isNull()) out.push_back({query.value(0).toInt(), query.value(1).toString()});
    return out;
}

reactions::EditorResult failed(const store::StoreError& e) {
    return reactions::EditorResult::refused(QString::fromUtf8(e.what()), reactions::MessageIcon::Critical);
}

QString trimmedEnd(const QString& name) {
    QString out = name;
    while (out.endsWith(QLatin1Char(' '))) out.chop(1);
    return out;
}

}  // namespace

AreaNames::AreaNames(store::Database& db) : m_db(db) {}

QString AreaNames::checkName(const QString& name) {
    for (QChar c : name) {
        const char16_t u = c.unicode();
        const bool letter = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
        const bool digit = u >= u'0' && u <= u'9';
        if (!letter && !digit && u != u' ' && u != u'\'' && u != u'"') return kBadName;
    }
    if (!name.isEmpty() && name.front().isDigit()) return kBadName;
    if (trimmedEnd(name).trimmed().isEmpty()) return kBlankName;
    return {};
}

std::vector<NameRow> AreaNames::areas() {
    return rows(m_db.run(QStringLiteral("SELECT Area, AreaName FROM AreaNames ORDER BY Area"), {}));
}

std::vector<NameRow> AreaNames::presets(int area) {
    return rows(m_db.run(
        QStringLiteral("SELECT Preset, PresetName FROM PresetNames WHERE Area = ? ORDER BY Preset"), {area}));
}

std::optional<QString> AreaNames::areaName(int area) {
    QSqlQuery query = m_db.run(QStringLiteral("SELECT AreaName FROM AreaNames WHERE Area = ?"), {area});
    if (!query.next()) return std::nullopt;
    return query.value(0).toString();
}

reactions::EditorResult AreaNames::nameArea(int area, const QString& name) {
    if (const QString bad = checkName(name); !bad.isEmpty()) return reactions::EditorResult::refused(bad);
    try {
        store::Transaction transaction(m_db);
        if (areaName(area))
            m_db.run(QStringLiteral("UPDATE AreaNames SET AreaName = ? WHERE Area = ?"),
                     {trimmedEnd(name), area});
        else
            m_db.run(QStringLiteral("INSERT INTO AreaNames (Area, AreaName) VALUES (?, ?)"),
                     {area, trimmedEnd(name)});
        transaction.commit();
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

reactions::EditorResult AreaNames::namePreset(int area, int preset, const QString& name) {
    if (const QString bad = checkName(name); !bad.isEmpty()) return reactions::EditorResult::refused(bad);
    try {
        if (!areaName(area)) return reactions::EditorResult::refused(kNameAreaFirst);
        store::Transaction transaction(m_db);
        QSqlQuery found =
            m_db.run(QStringLiteral("SELECT Preset_ID FROM PresetNames WHERE Preset = ? AND Area = ?"),
                     {preset, area});
        if (found.next())
            m_db.run(QStringLiteral("UPDATE PresetNames SET PresetName = ? WHERE Preset_ID = ?"),
                     {trimmedEnd(name), found.value(0)});
        else
            m_db.run(QStringLiteral("INSERT INTO PresetNames (Area, Preset, PresetName) VALUES (?, ?, ?)"),
                     {area, preset, trimmedEnd(name)});
        transaction.commit();
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

reactions::EditorResult AreaNames::deleteArea(int area) {
    try {
        m_db.run(QStringLiteral("DELETE FROM AreaNames WHERE Area = ?"), {area});
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

reactions::EditorResult AreaNames::deletePreset(int area, int preset) {
    try {
        m_db.run(QStringLiteral("DELETE FROM PresetNames WHERE Preset = ? AND Area = ?"), {preset, area});
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

reactions::EditorResult AreaNames::applyToAll(int area, int preset) {
    try {
        QSqlQuery source =
            m_db.run(QStringLiteral("SELECT PresetName FROM PresetNames WHERE Preset = ? AND Area = ?"),
                     {preset, area});
        if (!source.next()) return reactions::EditorResult::ok();
        const QString name = source.value(0).toString();
        store::Transaction transaction(m_db);
        m_db.run(
            QStringLiteral(
                "INSERT INTO PresetNames (Area, Preset, PresetName) "
                "SELECT AreaNames.Area, ?, ? FROM AreaNames WHERE AreaNames.Area IS NOT NULL AND NOT EXISTS "
                "(SELECT 1 FROM PresetNames WHERE PresetNames.Area = AreaNames.Area AND PresetNames.Preset = "
                "?)"),
            {preset, name, preset});
        transaction.commit();
        return reactions::EditorResult::ok();
    } catch (const store::StoreError& e) {
        return failed(e);
    }
}

}  // namespace qv::editors
