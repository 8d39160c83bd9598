#include "features/reactions/button_panel.h"

#include "features/reactions/hex_text.h"
#include "features/reactions/logging.h"
#include "features/reactions/stored_number.h"
#include "net/builders.h"
#include "store/database.h"
#include "store/field_values.h"
#include "store/store_error.h"

#include <QSqlQuery>

#include <set>
#include <utility>

namespace qv::reactions {

namespace {

constexpr int kTableSize = 256;
constexpr int kLargestColour = 0xFFFFFF;

bool inTable(int area, int preset) {
    return area >= 0 && area < kTableSize && preset >= 0 && preset < kTableSize;
}

std::optional<int> colourFrom(const QVariant& value) {
    const std::optional<int> colour = storedInt(value);
    if (!colour || *colour < 0 || *colour > kLargestColour) return std::nullopt;  // keep the designed colour
    return colour;
}

const QString kRuleColumns = QStringLiteral(
    "SELECT ButtonMultiState.ButtonIndex, ButtonMultiState.ButtonLabel, ButtonMultiState.Colour, "
    "Macros.Macro");

}  // namespace

int ButtonPanel::buttonCountFor(int buttonversion) {
    for (int allowed : {4, 8, 12, 18, 24})
        if (buttonversion == allowed) return allowed;
    return 8;
}

ButtonPanel::ButtonPanel(store::Database& db, macros::MacroRunner& runner, const net::AreaState& state,
                         store::MonitorSink& monitor, const qv::Clock& clock, SendRS232 sendRS232,
                         int buttonversion, QObject* parent)
    : QObject(parent),
      m_db(db),
      m_runner(runner),
      m_state(state),
      m_monitorWriter(monitor, clock),
      m_sendRS232(std::move(sendRS232)),
      m_count(buttonCountFor(buttonversion)),
      m_faces(static_cast<std::size_t>(m_count) + 1),
      m_triggers(kTableSize * kTableSize, false) {}

const ButtonFace& ButtonPanel::button(int index) const {
    static const ButtonFace kNone;
    return index >= 1 && index <= m_count ? m_faces[static_cast<std::size_t>(index)] : kNone;
}

void ButtonPanel::setFace(int index, const ButtonFace& face) {
    ButtonFace& current = m_faces[static_cast<std::size_t>(index)];
    if (current == face) return;
    current = face;
    emit changed(index);
}

void ButtonPanel::GetButtonLabels() {
    std::vector<ButtonFace> faces(m_faces.size());
    try {
        QSqlQuery query = m_db.run(
            QStringLiteral("SELECT Buttons.ButtonIndex, Buttons.Invisible, Buttons.Buttonlabel, Macros.Macro"
                           " FROM Buttons LEFT JOIN Macros ON Buttons.Macro_ID = Macros.Macro_ID"
                           " ORDER BY Buttons.ButtonIndex, Buttons.Button_ID"));
        while (query.next()) {
            const std::optional<int> index = storedInt(query.value(0));
            if (!index || *index < 1 || *index > m_count) {
                qCDebug(lcReactions) << "button row for place" << query.value(0) << "is beyond the" << m_count
                                     << "buttons shown";
                continue;
            }
            ButtonFace& face = faces[static_cast<std::size_t>(*index)];
            face.caption = query.value(2).toString();
            face.macro = query.value(3).toString();
            face.hidden = store::yesNoOr(query.value(1), false);
        }
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(QStringLiteral("The buttons could not be read, they stay as they are: %1")
                                  .arg(QString::fromUtf8(e.what())));
        return;
    }
    for (int index = 1; index <= m_count; ++index) setFace(index, faces[static_cast<std::size_t>(index)]);
}

void ButtonPanel::GetButtonChanges() {
    std::vector<bool> triggers(kTableSize * kTableSize, false);
    std::vector<std::pair<int, int>> distinct;
    QSet<QString> codes;
    try {
        QSqlQuery pairs = m_db.run(QStringLiteral(
            "SELECT DISTINCT ButtonMultiState.Area, ButtonMultiState.Preset FROM ButtonMultiState"
            " WHERE ButtonMultiState.Area IS NOT NULL ORDER BY 1, 2"));
        while (pairs.next()) {
            const std::optional<int> area = storedInt(pairs.value(0));
            const std::optional<int> preset = storedInt(pairs.value(1));
            // Preset 0 is what every line without a preset carries: a rule
            // there would fire on nearly everything the area says.
            if (!area || !preset || !inTable(*area, *preset) || *preset < 1) {
                m_monitorWriter.warning(
                    QStringLiteral("Button rules for area %1 preset %2 are skipped: not an area "
                                   "0-255 and a preset 1-255")
                        .arg(pairs.value(0).toString(), pairs.value(1).toString()));
                continue;
            }
            triggers[static_cast<std::size_t>(*area * kTableSize + *preset)] = true;
            distinct.emplace_back(*area, *preset);
        }
        QSqlQuery custom = m_db.run(
            QStringLiteral("SELECT CustomCodes.CustomCode FROM ButtonMultiState INNER JOIN CustomCodes"
                           " ON ButtonMultiState.CustomCode_ID = CustomCodes.CustomCode_ID GROUP BY "
                           "CustomCodes.CustomCode"));
        while (custom.next()) {
            const QString code = normaliseHexText(custom.value(0).toString());
            if (!code.isEmpty()) codes.insert(code);
        }
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(QStringLiteral("The button rules could not be read, the old ones stay: %1")
                                  .arg(QString::fromUtf8(e.what())));
        return;
    }
    m_triggers = std::move(triggers);
    m_ruleCodes = std::move(codes);

    std::set<int> applied;
    for (const auto& [area, preset] : distinct) {
        const int current = m_state.GetPresetforArea(area);
        // Area 0 stands for all areas and has no preset of its own to ask for.
        if (current == 0 && area >= 1) {
            if (const auto ask = net::AskforCurrentPreset(area)) m_sendRS232(*ask);
        }
        if (current != 0 && applied.insert(area).second) ButtonChange(area, current, QString());
    }
}

void ButtonPanel::ButtonChange(int area, int Preset, const QString& CustomCode) {
    std::vector<Rule> rules;
    try {
        if ((CustomCode.isEmpty() || area != 0 || Preset != 0) && inTable(area, Preset)) {
            QSqlQuery query =
                m_db.run(kRuleColumns +
                             QStringLiteral(" FROM ButtonMultiState LEFT JOIN Macros ON "
                                            "ButtonMultiState.Macro_ID = Macros.Macro_ID"
                                            " WHERE ButtonMultiState.Area = ? AND ButtonMultiState.Preset = ?"
                                            " ORDER BY ButtonMultiState.ButtonMultiState_ID"),
                         {area, Preset});
            while (query.next())
                rules.push_back({storedInt(query.value(0)).value_or(0), query.value(1).toString(),
                                 colourFrom(query.value(2)), query.value(3).toString()});
        }
        const QString heard = normaliseHexText(CustomCode);
        if (!heard.isEmpty()) {
            // Compared here rather than in SQL so that spacing and case of the
            // stored code do not matter.
            QSqlQuery query = m_db.run(
                kRuleColumns +
                QStringLiteral(", CustomCodes.CustomCode FROM (ButtonMultiState INNER JOIN CustomCodes"
                               " ON ButtonMultiState.CustomCode_ID = CustomCodes.CustomCode_ID)"
                               " LEFT JOIN Macros ON ButtonMultiState.Macro_ID = Macros.Macro_ID"
                               " ORDER BY ButtonMultiState.ButtonMultiState_ID"));
            while (query.next())
                if (normaliseHexText(query.value(4).toString()) == heard)
                    rules.push_back({storedInt(query.value(0)).value_or(0), query.value(1).toString(),
                                     colourFrom(query.value(2)), query.value(3).toString()});
        }
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(
            QStringLiteral("The button rules could not be read: %1").arg(QString::fromUtf8(e.what())));
        return;
    }
    apply(rules);
}

void ButtonPanel::apply(const std::vector<Rule>& rules) {
    for (const Rule& rule : rules) {
        if (rule.buttonIndex < 1 || rule.buttonIndex > m_count) continue;
        ButtonFace face = button(rule.buttonIndex);
        face.caption = rule.label;
        face.colour = rule.colour;
        face.macro = rule.macro;
        setFace(rule.buttonIndex, face);
    }
}

QString ButtonPanel::press(int index) {
    const QString macro = button(index).macro;
    if (macro.isEmpty()) return kNoMacro;
    m_runner.RunMacro(macro);
    return {};
}

bool ButtonPanel::isRuleTrigger(int area, int preset) const {
    return inTable(area, preset) && m_triggers[static_cast<std::size_t>(area * kTableSize + preset)];
}

bool ButtonPanel::isRuleCustomCode(const QString& hex) const {
    return !m_ruleCodes.isEmpty() && m_ruleCodes.contains(normaliseHexText(hex));
}

void ButtonPanel::presetHeardAfterSelection(int area, int preset) {
    if (isRuleTrigger(area, preset)) ButtonChange(area, preset, QString());
}

void ButtonPanel::customCodeHeardLast(const std::string& hex) {
    const QString heard = QString::fromStdString(hex);
    if (isRuleCustomCode(heard)) ButtonChange(0, 0, heard);
}

}  // namespace qv::reactions
