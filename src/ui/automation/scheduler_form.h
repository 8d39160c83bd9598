#pragma once
// The schedule editor: the macro to run, the start date, a fixed time or an
// offset from sunrise or sunset, and the recurrence pattern, each control
// named as the schedule's fields are. The engine's ScheduleEditor checks and
// stores it; the description underneath is the one the listing will show,
// brought up to date as the user edits.

#include "schedule/schedule_editor.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimeEdit;

namespace qv::ui {

class Windows;

class SchedulerForm : public QWidget {
    Q_OBJECT
public:
    explicit SchedulerForm(Windows& windows, QWidget* parent = nullptr);

    // Fills the editor from a stored schedule; false when there is none (the
    // editor then stays a new schedule).
    bool openSchedule(int schedulerId);

    // What the controls hold now.
    schedule::ScheduleDraft draft() const;
    void setDraft(const schedule::ScheduleDraft& draft);

signals:
    void saved(int schedulerId);

protected:
    void changeEvent(QEvent* event) override;

private:
    void fillMacros();
    void macroChosen(int index);
    void showTimeMode();
    void showPattern();
    void enableSubRules();
    void updateDescription();
    void save();

    Windows& m_windows;
    schedule::ScheduleEditor& m_editor;
    std::optional<int> m_schedulerId;
    QTime m_startDateTime;  // the time the start date picker holds

    QLabel* m_idLabel = nullptr;
    QComboBox* m_macro = nullptr;
    QDateEdit* m_startDate = nullptr;
    QCheckBox* m_recurs = nullptr;
    QButtonGroup* m_timeModes = nullptr;
    QRadioButton* m_specificOption = nullptr;
    QRadioButton* m_sunOption = nullptr;
    QWidget* m_specificGroup = nullptr;
    QWidget* m_sunGroup = nullptr;
    QTimeEdit* m_specificTime = nullptr;
    QTimeEdit* m_offset = nullptr;
    QComboBox* m_beforeAfter = nullptr;
    QComboBox* m_sunriseSunset = nullptr;

    QGroupBox* m_recurrence = nullptr;
    QRadioButton* m_daily = nullptr;
    QRadioButton* m_weekly = nullptr;
    QRadioButton* m_monthly = nullptr;
    QRadioButton* m_yearly = nullptr;
    QWidget* m_dailyFrame = nullptr;
    QWidget* m_weeklyFrame = nullptr;
    QWidget* m_monthlyFrame = nullptr;
    QWidget* m_yearlyFrame = nullptr;

    QRadioButton* m_d1 = nullptr;
    QRadioButton* m_d2 = nullptr;
    QRadioButton* m_d3 = nullptr;
    QLineEdit* m_everyXDays = nullptr;
    QLineEdit* m_everyXWeeks = nullptr;
    QCheckBox* m_weekDays[7] = {};
    QRadioButton* m_m1 = nullptr;
    QRadioButton* m_m2 = nullptr;
    QLineEdit* m_m1Day = nullptr;
    QLineEdit* m_m1Months = nullptr;
    QComboBox* m_m2Ordinal = nullptr;
    QComboBox* m_m2DayName = nullptr;
    QLineEdit* m_m2Months = nullptr;
    QRadioButton* m_y1 = nullptr;
    QRadioButton* m_y2 = nullptr;
    QComboBox* m_y1Month = nullptr;
    QLineEdit* m_y1Day = nullptr;
    QComboBox* m_y2Ordinal = nullptr;
    QComboBox* m_y2DayName = nullptr;
    QComboBox* m_y2Month = nullptr;

    QLabel* m_description = nullptr;
    bool m_filling = false;
};

}  // namespace qv::ui
