#pragma once
// Indicators on a drawing, their colour lines, and the look each one takes
// from its area's preset. Drawings are named by file name (WMFFiles rows);
// an indicator is known on screen by its index on the drawing.

#include <QHash>
#include <QPointF>
#include <QString>
#include <QVector>

#include <functional>

namespace qv::store {
class Database;
}

namespace qv::plan {

struct Indicator {
    int id = 0;  // PlanIndicator_ID
    int index = 0;
    double left = 0, top = 0;
    int area = 0;
};

struct ColourLine {
    int area = 0;
    int preset = 0;
    QString areaName, presetName;
    int colour = 0;  // stored colour, red in the low byte
    QString icon;
};

// What the window paints for one indicator.
struct IndicatorLook {
    bool coloured = false;  // false: the shape keeps its own colour
    int colour = 0;
    QString icon;
    QString toolTip;
};

// The Presets entry of an indicator's menu: the indicator and its area,
// found through its colour lines; area 0 when it has none.
struct PresetsTarget {
    int indicatorId = 0;
    int area = 0;
};

class PlanIndicators {
public:
    static inline const QString kNeedArea =
        QStringLiteral("You need to allocate an area to this indicator first");

    static inline const QString kSelectAreaPreset =
        QStringLiteral("You need to select an Area/Preset before trying to enter anything");

    explicit PlanIndicators(store::Database& db);

    // An indicator by its PlanIndicator_ID and the drawing it is on; id 0 when missing.
    Indicator indicator(int indicatorId, QString* drawing);

    PresetsTarget presetsTarget(const QString& drawing, int index);

    int drawingId(const QString& drawing, bool create);  // 0 when missing and not created
    QVector<Indicator> indicators(const QString& drawing);
    int lowestFreeIndex(const QString& drawing);
    // Updates the indicator's row, adding the drawing and the row when missing.
    void savePosition(const QString& drawing, int index, double left, double top);
    // A new indicator for the area at the position (Paste); returns its index.
    int paste(const QString& drawing, int area, double left, double top);
    void remove(const QString& drawing, int index);

    // Colour lines of an area on a drawing, ordered by preset.
    QVector<ColourLine> lines(const QString& drawing, int area);
    int defaultColour(const QString& drawing, int area);  // -1 when the area has none
    void setDefaultColour(const QString& drawing, int area, int colour);
    // Indicator setup's Enter: gives the indicator the area and stores the
    // line, one transaction.
    void enterLine(const QString& drawing, int index, int area, int preset, int colour, const QString& icon);
    void deleteLine(const QString& drawing, int area, int preset);

    // Channels of an indicator with their switching flags.
    QHash<int, bool> channels(int indicatorId);
    void setChannel(int indicatorId, int channel, bool listed);
    void setSwitching(int indicatorId, int channel, bool switching);

    // The has-indicator table: one flag per area 0-255.
    QVector<bool> areasWithIndicators();

private:
    store::Database& m_db;
};

// The looks of the indicators of the current drawing, kept up to date from
// the areas' presets as the network reports them.
class PlanColouring {
public:
    using PresetOf = std::function<int(int area)>;  // 0 when not known
    PlanColouring(store::Database& db, PresetOf presetOf);

    void setDrawing(const QString& drawing);  // places its indicators, no colour yet
    QString drawing() const { return m_drawing; }
    const QHash<int, IndicatorLook>& looks() const { return m_looks; }
    const QHash<int, int>& areas() const { return m_areas; }  // index -> area

    // Recolours the area's indicators; returns the indices changed.
    QVector<int> indicatorChange(int area, int preset);
    // Recolours every indicator from the known presets.
    QVector<int> checkAreaPresetArray();

private:
    QString name(const QString& sql, const QVariantList& values, const QString& fallback);

    store::Database& m_db;
    PresetOf m_presetOf;
    QString m_drawing;
    QHash<int, IndicatorLook> m_looks;
    QHash<int, int> m_areas;
};

// Pressing and arrow keys on indicators, with the edit lock.
enum class PressAction { None, Select, Menu, Drag };
PressAction pressAction(bool locked, bool rightButton);
// The move of one arrow key press: 10 units, 100 with Shift, Ctrl or Alt.
// key: 0 left, 1 up, 2 right, 3 down.
QPointF arrowStep(int key, bool shiftCtrlOrAlt);

}  // namespace qv::plan
