#pragma once
// The schedule editor's engine: what its controls hold (ScheduleDraft), the
// checks and messages of the save button, and the Scheduler row it writes.
// The window shows the returned message; the engine shows nothing.
//
// Saving an edited schedule deletes its old row and adds a new one (numbered by
// the database, which may give the freed number again), both in one
// transaction, and only after every check passed:
// a refused save leaves the stored schedule as it was. An edited schedule
// keeps its Disabled mark.

#include "schedule/rules.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::schedule {

class ScheduleFiring;

struct ScheduleDraft {
    enum class TimeMode { None, SpecificTime, SunriseSunset };
    enum class Pattern { Daily, Weekly, Monthly, Yearly };
    enum class DailyRule { EveryXDays, EveryWeekDay, EveryWeekEndDay };
    enum class SubRule { First, Second };  // M1/M2, Y1/Y2

    std::optional<int> schedulerId;  // Scheduler_IDLabel: the schedule being edited
    std::optional<int> macroId;      // the Macro_ID of the MacroCombo entry chosen

    QDate startDate;                     // StartDateDTPicker: its date ...
    QTime startDateTime;                 // ... and the time it holds (stored for sun-relative schedules)
    TimeMode timeMode = TimeMode::None;  // SpecificTimeOption / SunRiseSunSetOption
    QTime specificTime;                  // SpecificTimeDTPicker
    QTime offset;                        // HoursBeforeAfterDTPicker (hours and minutes)
    QString beforeAfter = QStringLiteral("Before");     // BeforeAfterCombo
    QString sunriseSunset = QStringLiteral("Sunrise");  // SunriseSunsetCombo

    bool recurs = false;             // ScheduleRecursCheckBox
    std::optional<Pattern> pattern;  // DailyOption ... YearlyOption
    DailyRule dailyRule =
        DailyRule::EveryXDays;                 // D1_Option / D2_EveryWeekDayOption / D3_EveryWeekEndDayOption
    QString everyXDays = QStringLiteral("1");  // D1_EveryXDaysTextbox
    QString everyXWeeks = QStringLiteral("1");  // W1_EveryXWeeksTextBox
    WeekDays weekDays{};                        // W1_MondayCheckBox ... W1_SundayCheckBox
    SubRule monthlyRule = SubRule::First;       // M1_Option / M2_Option
    QString m1Day;                              // M1_EveryWhatDayTextBox
    QString m1Months = QStringLiteral("1");     // M1_OfEveryXMonthsTextBox
    QString m2Ordinal;                          // M2_TheWhatDayCombo
    QString m2DayName;                          // M2_OfEveryWhatDayCombo
    QString m2Months = QStringLiteral("1");     // M2_OfEveryXmonthsTextBox
    SubRule yearlyRule = SubRule::First;        // Y1_Option / Y2_Option
    QString y1Month;                            // month name
    QString y1Day;                              // day of month
    QString y2Ordinal;
    QString y2DayName;
    QString y2Month;
};

enum class MessageIcon { Information, Critical };

struct SaveOutcome {
    bool saved = false;
    QString message;  // shown in a message box when not saved
    MessageIcon icon = MessageIcon::Information;
    int schedulerId = 0;  // its number when saved (an edited schedule keeps its own)
};

struct MacroChoice {
    QString macro;
    int macroId = 0;
};

class ScheduleEditor {
public:
    static inline const QString kNoMacro =
        QStringLiteral("You need to select a Macro for this Scheduled Event");
    static inline const QString kNoTimeMode =
        QStringLiteral("Error - Neither Specific Time nor Sunrise was selected.");
    static inline const QString kMacroComboPrompt = QStringLiteral("<select a macro>");
    static inline const QString kCreateMacroEntry = QStringLiteral("<create a new macro>");

    ScheduleEditor(store::Database& main, ScheduleFiring& firing);

    // LoadDefaultsforControls: the pickers at now, counts of 1, the day, weekday
    // and month lists at today's.
    static ScheduleDraft defaultDraft(const QDateTime& now);
    // The lists' entries.
    static QStringList ordinalWords();
    static QStringList dayNames();
    static QStringList monthNames();

    // The macros for MacroCombo, by name (after its "<create a new macro>" entry).
    std::vector<MacroChoice> macroChoices();

    // The editor filled from a stored schedule (Edit); empty when there is none.
    std::optional<ScheduleDraft> loadDraft(int schedulerId);

    // The save button: checks, stores, then rebuild-and-fire. Throws StoreError
    // when the database fails (nothing is changed then).
    SaveOutcome save(const ScheduleDraft& draft);

    // Only the checks and messages of save(); nothing is stored.
    static std::optional<SaveOutcome> validate(const ScheduleDraft& draft);

    // The listing's description of the schedule the draft would store, as the
    // editor shows it while the user edits ("Every day at 18:30:00- effective
    // ..."). The macro plays no part; empty while a field would be refused.
    static QString describeDraft(const ScheduleDraft& draft);

private:
    store::Database& m_db;
    ScheduleFiring& m_firing;
};

}  // namespace qv::schedule
