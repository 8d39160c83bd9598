#include "ui/automation/scheduler_form.h"

#include "schedule/scheduling.h"
#include "shell/engine.h"
#include "store/store_error.h"
#include "ui/common/message_box.h"
#include "ui/window_names.h"
#include "ui/windows.h"

#include "clock/clock.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace qv::ui {

namespace {

using schedule::ScheduleDraft;
using schedule::ScheduleEditor;

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* numberBox(QWidget* parent, const char* name) {
    auto* box = named(new QLineEdit(parent), name);
    box->setMaximumWidth(48);
    return box;
}

QComboBox* listCombo(QWidget* parent, const char* name, const QStringList& entries) {
    auto* combo = named(new QComboBox(parent), name);
    combo->addItems(entries);
    return combo;
}

// The entry with that text, or none (a stored word that is not in the list).
void choose(QComboBox* combo, const QString& text) {
    combo->setCurrentIndex(combo->findText(text));
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
    auto* layout = new QHBoxLayout;
    for (QWidget* widget : widgets) layout->addWidget(widget);
    layout->addStretch();
    return layout;
}

}  // namespace

SchedulerForm::SchedulerForm(Windows& windows, QWidget* parent)
    : QWidget(parent, Qt::Window), m_windows(windows), m_editor(windows.engine().scheduling()->editor()) {
    setObjectName(QStringLiteral("SchedulerForm"));
    setWindowTitle(QStringLiteral("Schedule"));
    setWindowModality(Qt::ApplicationModal);

    // Macro to Run
    auto* macroFrame = named(new QGroupBox(QStringLiteral("Macro to Run"), this), "MacroFrame");
    m_macro = named(new QComboBox(macroFrame), "MacroCombo");
    m_macro->setPlaceholderText(ScheduleEditor::kMacroComboPrompt);
    m_macro->setMinimumWidth(260);
    m_idLabel = named(new QLabel(macroFrame), "Scheduler_IDLabel");
    m_idLabel->setStyleSheet(QStringLiteral("color: gray;"));
    auto* macroLayout = new QHBoxLayout(macroFrame);
    macroLayout->addWidget(m_macro, 1);
    macroLayout->addWidget(m_idLabel);

    // Start Date
    auto* dateFrame = named(new QGroupBox(QStringLiteral("Start Date"), this), "StartDateFrame");
    m_startDate = named(new QDateEdit(dateFrame), "StartDateDTPicker");
    m_startDate->setDisplayFormat(QStringLiteral("dddd, d MMMM yyyy"));
    m_startDate->setCalendarPopup(true);
    m_recurs =
        named(new QCheckBox(QStringLiteral("This Schedule Recurs"), dateFrame), "ScheduleRecursCheckBox");
    auto* dateLayout = new QVBoxLayout(dateFrame);
    dateLayout->addWidget(m_startDate);
    dateLayout->addWidget(m_recurs);

    // Start Time
    auto* timeFrame = named(new QGroupBox(QStringLiteral("Start Time"), this), "StartTimeFrame");
    m_specificOption =
        named(new QRadioButton(QStringLiteral("Specific Time"), timeFrame), "SpecificTimeOption");
    m_sunOption = named(new QRadioButton(QStringLiteral("Sunrise/Sunset"), timeFrame), "SunRiseSunSetOption");
    m_timeModes = new QButtonGroup(this);
    m_timeModes->addButton(m_specificOption);
    m_timeModes->addButton(m_sunOption);
    m_specificGroup = new QWidget(timeFrame);
    m_specificTime = named(new QTimeEdit(m_specificGroup), "SpecificTimeDTPicker");
    m_specificTime->setDisplayFormat(QStringLiteral("HH:mm"));
    auto* specificLayout = new QHBoxLayout(m_specificGroup);
    specificLayout->setContentsMargins(20, 0, 0, 0);
    specificLayout->addWidget(m_specificTime);
    specificLayout->addStretch();
    m_sunGroup = new QWidget(timeFrame);
    m_offset = named(new QTimeEdit(m_sunGroup), "HoursBeforeAfterDTPicker");
    m_offset->setDisplayFormat(QStringLiteral("HH:mm"));
    m_offset->setToolTip(QStringLiteral("Hours and minutes before or after"));
    m_beforeAfter =
        listCombo(m_sunGroup, "BeforeAfterCombo", {QStringLiteral("Before"), QStringLiteral("After")});
    m_sunriseSunset =
        listCombo(m_sunGroup, "SunriseSunsetCombo", {QStringLiteral("Sunrise"), QStringLiteral("Sunset")});
    auto* sunLayout = new QHBoxLayout(m_sunGroup);
    sunLayout->setContentsMargins(20, 0, 0, 0);
    sunLayout->addWidget(m_offset);
    sunLayout->addWidget(m_beforeAfter);
    sunLayout->addWidget(m_sunriseSunset);
    sunLayout->addStretch();
    auto* timeLayout = new QVBoxLayout(timeFrame);
    timeLayout->addLayout(row({m_specificOption, m_sunOption}));
    timeLayout->addWidget(m_specificGroup);
    timeLayout->addWidget(m_sunGroup);

    // Recurrence pattern
    m_recurrence = named(new QGroupBox(QStringLiteral("Recurrence pattern"), this), "RecurrenceFrame");
    m_daily = named(new QRadioButton(QStringLiteral("Daily"), m_recurrence), "DailyOption");
    m_weekly = named(new QRadioButton(QStringLiteral("Weekly"), m_recurrence), "WeeklyOption");
    m_monthly = named(new QRadioButton(QStringLiteral("Monthly"), m_recurrence), "MonthlyOption");
    m_yearly = named(new QRadioButton(QStringLiteral("Yearly"), m_recurrence), "YearlyOption");
    auto* patterns = new QVBoxLayout;
    for (QRadioButton* option : {m_daily, m_weekly, m_monthly, m_yearly}) patterns->addWidget(option);
    patterns->addStretch();

    const QStringList ordinals = ScheduleEditor::ordinalWords();
    const QStringList days = ScheduleEditor::dayNames();
    const QStringList months = ScheduleEditor::monthNames();

    m_dailyFrame = named(new QWidget(m_recurrence), "DailyFrame");
    m_d1 = named(new QRadioButton(QStringLiteral("Every"), m_dailyFrame), "D1_Option");
    m_everyXDays = numberBox(m_dailyFrame, "D1_EveryXDaysTextbox");
    m_d2 = named(new QRadioButton(QStringLiteral("Every WeekDay (Mon-Fri)"), m_dailyFrame),
                 "D2_EveryWeekDayOption");
    m_d3 = named(new QRadioButton(QStringLiteral("Every Weekend Day (Sat-Sun)"), m_dailyFrame),
                 "D3_EveryWeekEndDayOption");
    auto* dailyLayout = new QVBoxLayout(m_dailyFrame);
    dailyLayout->addLayout(row({m_d1, m_everyXDays, new QLabel(QStringLiteral("day(s)"), m_dailyFrame)}));
    dailyLayout->addWidget(m_d2);
    dailyLayout->addWidget(m_d3);
    dailyLayout->addStretch();

    m_weeklyFrame = named(new QWidget(m_recurrence), "WeeklyFrame");
    m_everyXWeeks = numberBox(m_weeklyFrame, "W1_EveryXWeeksTextBox");
    auto* weeklyLayout = new QVBoxLayout(m_weeklyFrame);
    weeklyLayout->addLayout(row({new QLabel(QStringLiteral("Recur every"), m_weeklyFrame), m_everyXWeeks,
                                 new QLabel(QStringLiteral("week(s) on:"), m_weeklyFrame)}));
    auto* dayGrid = new QGridLayout;
    for (int i = 0; i < 7; ++i) {
        m_weekDays[i] = new QCheckBox(days[i], m_weeklyFrame);
        m_weekDays[i]->setObjectName(QStringLiteral("W1_%1CheckBox").arg(days[i]));
        dayGrid->addWidget(m_weekDays[i], i / 4, i % 4);
    }
    weeklyLayout->addLayout(dayGrid);
    weeklyLayout->addStretch();

    m_monthlyFrame = named(new QWidget(m_recurrence), "MonthlyFrame");
    m_m1 = named(new QRadioButton(QStringLiteral("Day"), m_monthlyFrame), "M1_Option");
    m_m1Day = numberBox(m_monthlyFrame, "M1_EveryWhatDayTextBox");
    m_m1Months = numberBox(m_monthlyFrame, "M1_OfEveryXMonthsTextBox");
    m_m2 = named(new QRadioButton(QStringLiteral("The"), m_monthlyFrame), "M2_Option");
    m_m2Ordinal = listCombo(m_monthlyFrame, "M2_TheWhatDayCombo", ordinals);
    m_m2DayName = listCombo(m_monthlyFrame, "M2_OfEveryWhatDayCombo", days);
    m_m2Months = numberBox(m_monthlyFrame, "M2_OfEveryXmonthsTextBox");
    auto* monthlyLayout = new QVBoxLayout(m_monthlyFrame);
    monthlyLayout->addLayout(row({m_m1, m_m1Day, new QLabel(QStringLiteral("of every"), m_monthlyFrame),
                                  m_m1Months, new QLabel(QStringLiteral("month(s)"), m_monthlyFrame)}));
    monthlyLayout->addLayout(
        row({m_m2, m_m2Ordinal, m_m2DayName, new QLabel(QStringLiteral("of every"), m_monthlyFrame),
             m_m2Months, new QLabel(QStringLiteral("month(s)"), m_monthlyFrame)}));
    monthlyLayout->addStretch();

    m_yearlyFrame = named(new QWidget(m_recurrence), "YearlyFrame");
    m_y1 = named(new QRadioButton(QStringLiteral("Every"), m_yearlyFrame), "Y1_Option");
    m_y1Month = listCombo(m_yearlyFrame, "Y1_OfEveryNameofMonthCombo", months);
    m_y1Day = numberBox(m_yearlyFrame, "Y1_EverywhatDayTextBox");
    m_y2 = named(new QRadioButton(QStringLiteral("The"), m_yearlyFrame), "Y2_Option");
    m_y2Ordinal = listCombo(m_yearlyFrame, "Y2_TheFirstSecondThirdFourthLastCombo", ordinals);
    m_y2DayName = listCombo(m_yearlyFrame, "Y2_DayOfWeekCombo", days);
    m_y2Month = listCombo(m_yearlyFrame, "Y2_OfEveryNameofMonthCombo", months);
    auto* yearlyLayout = new QVBoxLayout(m_yearlyFrame);
    yearlyLayout->addLayout(row({m_y1, m_y1Month, m_y1Day}));
    yearlyLayout->addLayout(
        row({m_y2, m_y2Ordinal, m_y2DayName, new QLabel(QStringLiteral("of"), m_yearlyFrame), m_y2Month}));
    yearlyLayout->addStretch();

    // Sub-rule options of one frame exclude each other; frames are separate groups.
    for (auto options : {std::initializer_list<QRadioButton*>{m_d1, m_d2, m_d3},
                         {m_m1, m_m2},
                         {m_y1, m_y2},
                         {m_daily, m_weekly, m_monthly, m_yearly}}) {
        auto* group = new QButtonGroup(this);
        for (QRadioButton* option : options) group->addButton(option);
    }

    auto* frames = new QVBoxLayout;
    for (QWidget* frame : {m_dailyFrame, m_weeklyFrame, m_monthlyFrame, m_yearlyFrame})
        frames->addWidget(frame);
    auto* recurrenceLayout = new QHBoxLayout(m_recurrence);
    recurrenceLayout->addLayout(patterns);
    auto* divider = new QFrame(m_recurrence);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    recurrenceLayout->addWidget(divider);
    recurrenceLayout->addLayout(frames, 1);

    m_description = named(new QLabel(this), "ScheduleDescriptionLabel");
    m_description->setWordWrap(true);
    m_description->setMinimumHeight(36);
    m_description->setFrameShape(QFrame::StyledPanel);
    m_description->setMargin(4);

    auto* cancel = named(new QPushButton(QStringLiteral("Cancel"), this), "CancelButton");
    auto* save = named(new QPushButton(QStringLiteral("Save"), this), "SaveButton");
    save->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(macroFrame);
    auto* middle = new QHBoxLayout;
    middle->addWidget(dateFrame, 1);
    middle->addWidget(timeFrame, 1);
    layout->addLayout(middle);
    layout->addWidget(m_recurrence);
    layout->addWidget(m_description);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(save, &QPushButton::clicked, this, &SchedulerForm::save);
    connect(m_macro, &QComboBox::activated, this, &SchedulerForm::macroChosen);

    // Every control the description reads brings it up to date.
    const auto changed = [this] { updateDescription(); };
    for (QLineEdit* box : findChildren<QLineEdit*>()) connect(box, &QLineEdit::textChanged, this, changed);
    for (QComboBox* combo : findChildren<QComboBox*>())
        connect(combo, &QComboBox::currentIndexChanged, this, changed);
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button->isCheckable()) connect(button, &QAbstractButton::toggled, this, changed);
    }
    for (QDateTimeEdit* picker : findChildren<QDateTimeEdit*>())
        connect(picker, &QDateTimeEdit::dateTimeChanged, this, changed);

    fillMacros();
    setDraft(ScheduleEditor::defaultDraft(windows.engine().scheduling()->clock().now()));
}

bool SchedulerForm::openSchedule(int schedulerId) {
    std::optional<ScheduleDraft> loaded;
    try {
        loaded = m_editor.loadDraft(schedulerId);
    } catch (const store::StoreError& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
        return false;
    }
    if (!loaded) return false;
    setDraft(*loaded);
    return true;
}

ScheduleDraft SchedulerForm::draft() const {
    ScheduleDraft d;
    d.schedulerId = m_schedulerId;
    if (const QVariant id = m_macro->currentData(); id.isValid()) d.macroId = id.toInt();
    d.startDate = m_startDate->date();
    d.startDateTime = m_startDateTime;
    d.timeMode = m_specificOption->isChecked() ? ScheduleDraft::TimeMode::SpecificTime
                 : m_sunOption->isChecked()    ? ScheduleDraft::TimeMode::SunriseSunset
                                               : ScheduleDraft::TimeMode::None;
    d.specificTime = m_specificTime->time();
    d.offset = m_offset->time();
    d.beforeAfter = m_beforeAfter->currentText();
    d.sunriseSunset = m_sunriseSunset->currentText();

    d.recurs = m_recurs->isChecked();
    using P = ScheduleDraft::Pattern;
    if (m_daily->isChecked()) d.pattern = P::Daily;
    if (m_weekly->isChecked()) d.pattern = P::Weekly;
    if (m_monthly->isChecked()) d.pattern = P::Monthly;
    if (m_yearly->isChecked()) d.pattern = P::Yearly;
    d.dailyRule = m_d2->isChecked()   ? ScheduleDraft::DailyRule::EveryWeekDay
                  : m_d3->isChecked() ? ScheduleDraft::DailyRule::EveryWeekEndDay
                                      : ScheduleDraft::DailyRule::EveryXDays;
    d.everyXDays = m_everyXDays->text();
    d.everyXWeeks = m_everyXWeeks->text();
    for (std::size_t i = 0; i < 7; ++i) d.weekDays[i] = m_weekDays[i]->isChecked();
    d.monthlyRule = m_m2->isChecked() ? ScheduleDraft::SubRule::Second : ScheduleDraft::SubRule::First;
    d.m1Day = m_m1Day->text();
    d.m1Months = m_m1Months->text();
    d.m2Ordinal = m_m2Ordinal->currentText();
    d.m2DayName = m_m2DayName->currentText();
    d.m2Months = m_m2Months->text();
    d.yearlyRule = m_y2->isChecked() ? ScheduleDraft::SubRule::Second : ScheduleDraft::SubRule::First;
    d.y1Month = m_y1Month->currentText();
    d.y1Day = m_y1Day->text();
    d.y2Ordinal = m_y2Ordinal->currentText();
    d.y2DayName = m_y2DayName->currentText();
    d.y2Month = m_y2Month->currentText();
    return d;
}

void SchedulerForm::setDraft(const ScheduleDraft& d) {
    m_filling = true;
    m_schedulerId = d.schedulerId;
    m_idLabel->setText(d.schedulerId ? QString::number(*d.schedulerId) : QString());
    m_macro->setCurrentIndex(d.macroId ? m_macro->findData(*d.macroId) : -1);
    m_startDate->setDate(d.startDate);
    m_startDateTime = d.startDateTime;
    // Neither time option is chosen until the user (or the stored row) says which.
    m_timeModes->setExclusive(false);
    m_specificOption->setChecked(d.timeMode == ScheduleDraft::TimeMode::SpecificTime);
    m_sunOption->setChecked(d.timeMode == ScheduleDraft::TimeMode::SunriseSunset);
    m_timeModes->setExclusive(true);
    m_specificTime->setTime(d.specificTime.isValid() ? d.specificTime : QTime(0, 0));
    m_offset->setTime(d.offset.isValid() ? d.offset : QTime(0, 0));
    choose(m_beforeAfter, d.beforeAfter);
    choose(m_sunriseSunset, d.sunriseSunset);

    m_recurs->setChecked(d.recurs);
    using P = ScheduleDraft::Pattern;
    const P pattern = d.pattern.value_or(P::Daily);
    m_daily->setChecked(pattern == P::Daily);
    m_weekly->setChecked(pattern == P::Weekly);
    m_monthly->setChecked(pattern == P::Monthly);
    m_yearly->setChecked(pattern == P::Yearly);
    m_d1->setChecked(d.dailyRule == ScheduleDraft::DailyRule::EveryXDays);
    m_d2->setChecked(d.dailyRule == ScheduleDraft::DailyRule::EveryWeekDay);
    m_d3->setChecked(d.dailyRule == ScheduleDraft::DailyRule::EveryWeekEndDay);
    m_everyXDays->setText(d.everyXDays);
    m_everyXWeeks->setText(d.everyXWeeks);
    for (std::size_t i = 0; i < 7; ++i) m_weekDays[i]->setChecked(d.weekDays[i]);
    m_m1->setChecked(d.monthlyRule == ScheduleDraft::SubRule::First);
    m_m2->setChecked(d.monthlyRule == ScheduleDraft::SubRule::Second);
    m_m1Day->setText(d.m1Day);
    m_m1Months->setText(d.m1Months);
    choose(m_m2Ordinal, d.m2Ordinal);
    choose(m_m2DayName, d.m2DayName);
    m_m2Months->setText(d.m2Months);
    m_y1->setChecked(d.yearlyRule == ScheduleDraft::SubRule::First);
    m_y2->setChecked(d.yearlyRule == ScheduleDraft::SubRule::Second);
    choose(m_y1Month, d.y1Month);
    m_y1Day->setText(d.y1Day);
    choose(m_y2Ordinal, d.y2Ordinal);
    choose(m_y2DayName, d.y2DayName);
    choose(m_y2Month, d.y2Month);
    m_filling = false;
    updateDescription();
}

void SchedulerForm::fillMacros() {
    const QVariant chosen = m_macro->currentData();
    std::vector<schedule::MacroChoice> choices;
    try {
        choices = m_editor.macroChoices();
    } catch (const store::StoreError& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
        return;
    }
    const QSignalBlocker quiet(m_macro);
    m_macro->clear();
    m_macro->addItem(ScheduleEditor::kCreateMacroEntry);
    for (const auto& choice : choices) m_macro->addItem(choice.macro, choice.macroId);
    m_macro->setCurrentIndex(chosen.isValid() ? m_macro->findData(chosen) : -1);
}

void SchedulerForm::macroChosen(int index) {
    if (index != 0) return;
    // "<create a new macro>": the macro editor, which this editor must not
    // block; the list is read again when the user comes back.
    m_macro->setCurrentIndex(-1);
    if (windowModality() != Qt::NonModal) {
        hide();
        setWindowModality(Qt::NonModal);
        show();
    }
    m_windows.open(window::kMacroEditor);
}

void SchedulerForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) fillMacros();
}

void SchedulerForm::showTimeMode() {
    m_specificGroup->setVisible(m_specificOption->isChecked());
    m_sunGroup->setVisible(m_sunOption->isChecked());
}

void SchedulerForm::showPattern() {
    m_recurrence->setVisible(m_recurs->isChecked());
    m_dailyFrame->setVisible(m_daily->isChecked());
    m_weeklyFrame->setVisible(m_weekly->isChecked());
    m_monthlyFrame->setVisible(m_monthly->isChecked());
    m_yearlyFrame->setVisible(m_yearly->isChecked());
}

void SchedulerForm::enableSubRules() {
    m_everyXDays->setEnabled(m_d1->isChecked());
    for (QWidget* field : std::initializer_list<QWidget*>{m_m1Day, m_m1Months})
        field->setEnabled(m_m1->isChecked());
    for (QWidget* field : std::initializer_list<QWidget*>{m_m2Ordinal, m_m2DayName, m_m2Months})
        field->setEnabled(m_m2->isChecked());
    for (QWidget* field : std::initializer_list<QWidget*>{m_y1Month, m_y1Day})
        field->setEnabled(m_y1->isChecked());
    for (QWidget* field : std::initializer_list<QWidget*>{m_y2Ordinal, m_y2DayName, m_y2Month})
        field->setEnabled(m_y2->isChecked());
}

void SchedulerForm::updateDescription() {
    if (m_filling) return;
    showTimeMode();
    showPattern();
    enableSubRules();
    ScheduleDraft d = draft();
    const QString described = ScheduleEditor::describeDraft(d);
    if (!described.isEmpty()) {
        m_description->setStyleSheet(QString());
        m_description->setText(described);
        return;
    }
    // Not yet a schedule: what saving would say about it.
    d.macroId = d.macroId.value_or(0);
    const auto refusal = ScheduleEditor::validate(d);
    m_description->setStyleSheet(QStringLiteral("color: gray; font-style: italic;"));
    m_description->setText(refusal ? refusal->message : QString());
}

void SchedulerForm::save() {
    schedule::SaveOutcome outcome;
    try {
        outcome = m_editor.save(draft());
    } catch (const store::StoreError& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
        return;
    }
    if (!outcome.saved) {
        showMessage(
            this, outcome.icon == schedule::MessageIcon::Critical ? BoxKind::Critical : BoxKind::Information,
            outcome.message);
        return;
    }
    emit saved(outcome.schedulerId);
    close();
}

}  // namespace qv::ui
