#include "features/plan/plan_indicators.h"

#include "store/database.h"
#include "store/transaction.h"

#include <QSet>
#include <QSqlQuery>
#include <QVariant>

namespace qv::plan {

namespace {}  // namespace

PlanIndicators::PlanIndicators(store::Database& db) : m_db(db) {}

int PlanIndicators::drawingId(const QString& drawing, bool create) {
    QSqlQuery q = m_db.run(QStringLiteral("SELECT WMFFile_ID FROM WMFFiles WHERE WMFFile = ?"), {drawing});
    if (q.next()) return q.value(0).toInt();
    if (!create) return 0;
    return m_db.run(QStringLiteral("INSERT INTO WMFFiles (WMFFile) VALUES (?)"), {drawing})
        .lastInsertId()
        .toInt();
}

Indicator PlanIndicators::indicator(int indicatorId, QString* drawing) {
    QSqlQuery q = m_db.run(
        QStringLiteral(
            "SELECT i.PlanIndicator_ID, i.\"Index\", i.IndicatorLEFT, i.IndicatorTOP, i.Area, w.WMFFile"
            " FROM PlanIndicators i INNER JOIN WMFFiles w ON i.WMFFile_ID = w.WMFFile_ID"
            " WHERE i.PlanIndicator_ID = ?"),
        {indicatorId});
    if (!q.next()) return {};
    if (drawing) *drawing = q.value(5).toString();
    return {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toDouble(), q.value(3).toDouble(),
            q.value(4).toInt()};
}

PresetsTarget PlanIndicators::presetsTarget(const QString& drawing, int index) {
    QSqlQuery q = m_db.run(
        QStringLiteral("SELECT i.PlanIndicator_ID, i.Area FROM PlanIndicators i"
                       " INNER JOIN WMFFiles w ON w.WMFFile_ID = i.WMFFile_ID"
                       " INNER JOIN PlanAreaColours c ON c.WMFFile_ID = i.WMFFile_ID AND c.Area = i.Area"
                       " INNER JOIN PlanPresetColours p ON p.PlanAreaColour_ID = c.PlanAreaColour_ID"
                       " WHERE w.WMFFile = ? AND i.\"Index\" = ? GROUP BY i.PlanIndicator_ID"),
        {drawing, index});
    if (!q.next()) return {};
    return {q.value(0).toInt(), q.value(1).toInt()};
}

QVector<Indicator> PlanIndicators::indicators(const QString& drawing) {
    QSqlQuery q = m_db.run(
        QStringLiteral("SELECT i.PlanIndicator_ID, i.\"Index\", i.IndicatorLEFT, i.IndicatorTOP, i.Area"
                       " FROM PlanIndicators i INNER JOIN WMFFiles w ON i.WMFFile_ID = w.WMFFile_ID"
                       " WHERE w.WMFFile = ? ORDER BY i.\"Index\""),
        {drawing});
    QVector<Indicator> out;
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toDouble(), q.value(3).toDouble(),
                       q.value(4).toInt()});
    return out;
}

int PlanIndicators::lowestFreeIndex(const QString& drawing) {
    QSet<int> used;
    for (const Indicator& i : indicators(drawing)) used.insert(i.index);
    int index = 1;
    while (used.contains(index)) ++index;
    return index;
}

void PlanIndicators::savePosition(const QString& drawing, int index, double left, double top) {
    store::Transaction t(m_db);
    const int id = drawingId(drawing, true);
    QSqlQuery q = m_db.run(QStringLiteral("UPDATE PlanIndicators SET IndicatorLEFT = ?, IndicatorTOP = ?"
                                          " WHERE \"Index\" = ? AND WMFFile_ID = ?"),
                           {left, top, index, id});
    if (q.numRowsAffected() <= 0)
        m_db.run(QStringLiteral(
                     "INSERT INTO PlanIndicators (\"Index\", IndicatorLEFT, IndicatorTOP, Area, WMFFile_ID)"
                     " VALUES (?, ?, ?, 0, ?)"),
                 {index, left, top, id});
    t.commit();
}

int PlanIndicators::paste(const QString& drawing, int area, double left, double top) {
    store::Transaction t(m_db);
    const int id = drawingId(drawing, true);
    const int index = lowestFreeIndex(drawing);
    m_db.run(
        QStringLiteral("INSERT INTO PlanIndicators (\"Index\", IndicatorLEFT, IndicatorTOP, Area, WMFFile_ID)"
                       " VALUES (?, ?, ?, ?, ?)"),
        {index, left, top, area, id});
    t.commit();
    return index;
}

void PlanIndicators::remove(const QString& drawing, int index) {
    const int id = drawingId(drawing, false);
    store::Transaction t(m_db);
    m_db.run(QStringLiteral(
                 "DELETE FROM PlanIndicatorChannels WHERE PlanIndicator_ID IN"
                 " (SELECT PlanIndicator_ID FROM PlanIndicators WHERE \"Index\" = ? AND WMFFile_ID = ?)"),
             {index, id});
    m_db.run(QStringLiteral("DELETE FROM PlanIndicators WHERE \"Index\" = ? AND WMFFile_ID = ?"),
             {index, id});
    t.commit();
}

QVector<ColourLine> PlanIndicators::lines(const QString& drawing, int area) {
    QSqlQuery q =
        m_db.run(QStringLiteral("SELECT c.Area, p.Preset, a.AreaName, n.PresetName, p.Colour, p.Icon"
                                " FROM PlanAreaColours c"
                                " INNER JOIN PlanPresetColours p ON p.PlanAreaColour_ID = c.PlanAreaColour_ID"
                                " INNER JOIN WMFFiles w ON w.WMFFile_ID = c.WMFFile_ID"
                                " LEFT JOIN AreaNames a ON a.Area = c.Area"
                                " LEFT JOIN PresetNames n ON n.Area = c.Area AND n.Preset = p.Preset"
                                " WHERE w.WMFFile = ? AND c.Area = ? ORDER BY p.Preset"),
                 {drawing, area});
    QVector<ColourLine> out;
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toString(),
                       q.value(4).toInt(), q.value(5).toString()});
    return out;
}

int PlanIndicators::defaultColour(const QString& drawing, int area) {
    QSqlQuery q = m_db.run(QStringLiteral("SELECT c.DefaultColour FROM PlanAreaColours c"
                                          " INNER JOIN WMFFiles w ON w.WMFFile_ID = c.WMFFile_ID"
                                          " WHERE w.WMFFile = ? AND c.Area = ?"),
                           {drawing, area});
    return q.next() ? q.value(0).toInt() : -1;
}

void PlanIndicators::setDefaultColour(const QString& drawing, int area, int colour) {
    store::Transaction t(m_db);
    const int id = drawingId(drawing, true);
    QSqlQuery q = m_db.run(
        QStringLiteral("UPDATE PlanAreaColours SET DefaultColour = ? WHERE Area = ? AND WMFFile_ID = ?"),
        {colour, area, id});
    if (q.numRowsAffected() <= 0)
        m_db.run(
            QStringLiteral("INSERT INTO PlanAreaColours (Area, WMFFile_ID, DefaultColour) VALUES (?, ?, ?)"),
            {area, id, colour});
    t.commit();
}

void PlanIndicators::enterLine(const QString& drawing, int index, int area, int preset, int colour,
                               const QString& icon) {
    store::Transaction t(m_db);
    const int id = drawingId(drawing, true);
    m_db.run(QStringLiteral("UPDATE PlanIndicators SET Area = ? WHERE \"Index\" = ? AND WMFFile_ID = ?"),
             {area, index, id});
    QSqlQuery found = m_db.run(
        QStringLiteral("SELECT PlanAreaColour_ID FROM PlanAreaColours WHERE Area = ? AND WMFFile_ID = ?"),
        {area, id});
    const int colourId =
        found.next()
            ? found.value(0).toInt()
            : m_db.run(QStringLiteral(
                           "INSERT INTO PlanAreaColours (Area, WMFFile_ID, DefaultColour) VALUES (?, ?, 0)"),
                       {area, id})
                  .lastInsertId()
                  .toInt();
    QSqlQuery q = m_db.run(QStringLiteral("UPDATE PlanPresetColours SET Colour = ?, Icon = ?"
                                          " WHERE PlanAreaColour_ID = ? AND Preset = ?"),
                           {colour, icon, colourId, preset});
    if (q.numRowsAffected() <= 0)
        m_db.run(
            QStringLiteral(
                "INSERT INTO PlanPresetColours (PlanAreaColour_ID, Preset, Colour, Icon) VALUES (?,?,?,?)"),
            {colourId, preset, colour, icon});
    t.commit();
}

void PlanIndicators::deleteLine(const QString& drawing, int area, int preset) {
    const int id = drawingId(drawing, false);
    m_db.run(
        QStringLiteral("DELETE FROM PlanPresetColours WHERE Preset = ? AND PlanAreaColour_ID IN"
                       " (SELECT PlanAreaColour_ID FROM PlanAreaColours WHERE Area = ? AND WMFFile_ID = ?)"),
        {preset, area, id});
}

QHash<int, bool> PlanIndicators::channels(int indicatorId) {
    QSqlQuery q = m_db.run(
        QStringLiteral("SELECT Channel, Switching FROM PlanIndicatorChannels WHERE PlanIndicator_ID = ?"),
        {indicatorId});
    QHash<int, bool> out;
    while (q.next()) out.insert(q.value(0).toInt(), q.value(1).toBool());
    return out;
}

void PlanIndicators::setChannel(int indicatorId, int channel, bool listed) {
    store::Transaction t(m_db);
    m_db.run(QStringLiteral("DELETE FROM PlanIndicatorChannels WHERE PlanIndicator_ID = ? AND Channel = ?"),
             {indicatorId, channel});
    if (listed)
        m_db.run(
            QStringLiteral(
                "INSERT INTO PlanIndicatorChannels (PlanIndicator_ID, Channel, Switching) VALUES (?, ?, 0)"),
            {indicatorId, channel});
    t.commit();
}

void PlanIndicators::setSwitching(int indicatorId, int channel, bool switching) {
    m_db.run(QStringLiteral(
                 "UPDATE PlanIndicatorChannels SET Switching = ? WHERE PlanIndicator_ID = ? AND Channel = ?"),
             {switching ? 1 : 0, indicatorId, channel});
}

QVector<bool> PlanIndicators::areasWithIndicators() {
    QVector<bool> flags(256, false);
    QSqlQuery q = m_db.run(QStringLiteral("SELECT Area FROM PlanAreaColours GROUP BY Area"), {});
    while (q.next()) {
        const int area = q.value(0).toInt();
        if (area >= 0 && area < 256) flags[area] = true;
    }
    return flags;
}

PlanColouring::PlanColouring(store::Database& db, PresetOf presetOf)
    : m_db(db), m_presetOf(std::move(presetOf)) {}

void PlanColouring::setDrawing(const QString& drawing) {
    m_drawing = drawing;
    m_looks.clear();
    m_areas.clear();
    PlanIndicators store(m_db);
    for (const Indicator& i : store.indicators(drawing)) {
        m_areas.insert(i.index, i.area);
        m_looks.insert(i.index, IndicatorLook{false, 0, {}, QStringLiteral("Indicator %1").arg(i.index)});
    }
}

QString PlanColouring::name(const QString& sql, const QVariantList& values, const QString& fallback) {
    QSqlQuery q = m_db.run(sql, values);
    const QString found = q.next() ? q.value(0).toString() : QString();
    return found.isEmpty() ? fallback : found;
}

QVector<int> PlanColouring::indicatorChange(int area, int preset) {
    const QString areaName =
        name(QStringLiteral("SELECT AreaName FROM AreaNames WHERE Area = ?"), {area}, QString::number(area));
    const QString presetName =
        name(QStringLiteral("SELECT PresetName FROM PresetNames WHERE Area = ? AND Preset = ?"),
             {area, preset}, QString::number(preset));
    QSqlQuery q = m_db.run(
        QStringLiteral("SELECT i.\"Index\", c.DefaultColour, p.Colour, p.Icon"
                       " FROM PlanIndicators i"
                       " INNER JOIN WMFFiles w ON w.WMFFile_ID = i.WMFFile_ID"
                       " INNER JOIN PlanAreaColours c ON c.WMFFile_ID = i.WMFFile_ID AND c.Area = i.Area"
                       " LEFT JOIN PlanPresetColours p ON p.PlanAreaColour_ID = c.PlanAreaColour_ID"
                       " AND p.Preset = ?"
                       " WHERE w.WMFFile = ? AND i.Area = ?"),
        {preset, m_drawing, area});
    QVector<int> changed;
    while (q.next()) {
        const int index = q.value(0).toInt();
        IndicatorLook look;
        look.coloured = true;
        if (q.value(2).isNull()) {
            look.colour = q.value(1).toInt();
            look.toolTip = QStringLiteral("Area ") + areaName + QStringLiteral(" Preset ") + presetName +
                           QStringLiteral(" (no colour mapped for this)");
        } else {
            look.colour = q.value(2).toInt();
            look.icon = q.value(3).toString();
            look.toolTip = QStringLiteral("Area ") + areaName + QStringLiteral(" in Preset ") + presetName;
        }
        m_looks.insert(index, look);
        changed.push_back(index);
    }
    return changed;
}

QVector<int> PlanColouring::checkAreaPresetArray() {
    // One read for the whole drawing: every indicator with a default colour,
    // each with its colour lines; the line of the area's preset wins.
    QSqlQuery q = m_db.run(
        QStringLiteral("SELECT i.\"Index\", i.Area, c.DefaultColour, p.Preset, p.Colour, p.Icon,"
                       " a.AreaName, n.PresetName"
                       " FROM PlanIndicators i"
                       " INNER JOIN WMFFiles w ON w.WMFFile_ID = i.WMFFile_ID"
                       " INNER JOIN PlanAreaColours c ON c.WMFFile_ID = i.WMFFile_ID AND c.Area = i.Area"
                       " LEFT JOIN PlanPresetColours p ON p.PlanAreaColour_ID = c.PlanAreaColour_ID"
                       " LEFT JOIN AreaNames a ON a.Area = i.Area"
                       " LEFT JOIN PresetNames n ON n.Area = i.Area AND n.Preset = p.Preset"
                       " WHERE w.WMFFile = ? AND i.Area BETWEEN 1 AND 255"),
        {m_drawing});
    QHash<int, IndicatorLook> found;
    QHash<int, int> areaOf;
    QHash<int, QString> areaNames;
    QHash<int, int> defaults;
    while (q.next()) {
        const int index = q.value(0).toInt();
        const int area = q.value(1).toInt();
        const int preset = m_presetOf(area);
        if (preset < 1) continue;
        areaOf.insert(index, area);
        defaults.insert(index, q.value(2).toInt());
        const QString areaName =
            q.value(6).toString().isEmpty() ? QString::number(area) : q.value(6).toString();
        areaNames.insert(area, areaName);
        if (q.value(3).isNull() || q.value(3).toInt() != preset) continue;
        const QString presetName =
            q.value(7).toString().isEmpty() ? QString::number(preset) : q.value(7).toString();
        found.insert(index, IndicatorLook{true, q.value(4).toInt(), q.value(5).toString(),
                                          QStringLiteral("Area ") + areaName + QStringLiteral(" in Preset ") +
                                              presetName});
    }
    QVector<int> changed;
    QHash<int, QString> presetNames;  // area -> name of its preset, for the unmapped ones
    for (auto it = areaOf.cbegin(); it != areaOf.cend(); ++it) {
        const int index = it.key();
        const int area = it.value();
        if (!found.contains(index)) {
            const int preset = m_presetOf(area);
            if (!presetNames.contains(area))
                presetNames.insert(area, name(QStringLiteral("SELECT PresetName FROM PresetNames"
                                                             " WHERE Area = ? AND Preset = ?"),
                                              {area, preset}, QString::number(preset)));
            found.insert(index, IndicatorLook{true,
                                              defaults.value(index),
                                              {},
                                              QStringLiteral("Area ") + areaNames.value(area) +
                                                  QStringLiteral(" Preset ") + presetNames.value(area) +
                                                  QStringLiteral(" (no colour mapped for this)")});
        }
        m_looks.insert(index, found.value(index));
        changed.push_back(index);
    }
    return changed;
}

PressAction pressAction(bool locked, bool rightButton) {
    if (locked) return PressAction::None;
    return rightButton ? PressAction::Menu : PressAction::Drag;
}

QPointF arrowStep(int key, bool shiftCtrlOrAlt) {
    const double step = shiftCtrlOrAlt ? 100 : 10;
    switch (key) {
        case 0:
            return {-step, 0};
        case 1:
            return {0, -step};
        case 2:
            return {step, 0};
        case 3:
            return {0, step};
        default:
            return {};
    }
}

}  // namespace qv::plan
