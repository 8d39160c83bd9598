#include "ui/automation/show_schedules_form.h"

#include "clock/clock.h"
#include "schedule/scheduling.h"
#include "shell/engine.h"
#include "store/store_error.h"
#include "ui/automation/scheduler_form.h"
#include "ui/common/message_box.h"
#include "ui/common/units.h"
#include "ui/window_names.h"
#include "ui/windows.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv::ui {

namespace {

using schedule::ScheduleListing;

// The listing's marks as the grid paints them: its background colours, and
// today's passed rows in grey italics.
class ListingColours : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        switch (role) {
            case Qt::BackgroundRole: {
                const QVariant rgb = QIdentityProxyModel::data(index, ScheduleListing::BackgroundRgbRole);
                if (rgb.isValid()) return QColor::fromRgb(rgb.toUInt());
                return {};
            }
            case Qt::ForegroundRole:
                if (passed(index)) return QColor(0x80, 0x80, 0x80);
                return {};
            case Qt::FontRole:
                if (passed(index)) {
                    QFont font;
                    font.setItalic(true);
                    return font;
                }
                return {};
            case Qt::ToolTipRole:
                if (passed(index)) return QStringLiteral("Passed");
                return QIdentityProxyModel::data(index, Qt::DisplayRole);
            default:
                return QIdentityProxyModel::data(index, role);
        }
    }

private:
    bool passed(const QModelIndex& index) const {
        return QIdentityProxyModel::data(index, ScheduleListing::PassedRole).toBool();
    }
};

QString backgroundSheet(unsigned rgb) {
    return QStringLiteral("background-color: #%1;").arg(rgb, 6, 16, QLatin1Char('0'));
}

QWidget* legendEntry(std::optional<unsigned> rgb, const QString& text, QWidget* parent) {
    auto* entry = new QWidget(parent);
    auto* row = new QHBoxLayout(entry);
    row->setContentsMargins(0, 0, 0, 0);
    auto* swatch = new QLabel(entry);
    swatch->setFixedSize(28, 16);
    swatch->setFrameShape(QFrame::Box);
    swatch->setAutoFillBackground(true);
    swatch->setStyleSheet(rgb ? backgroundSheet(*rgb) + QStringLiteral("border: 1px solid gray;")
                              : QStringLiteral("background-color: white; border: 1px solid gray;"));
    row->addWidget(swatch);
    row->addWidget(new QLabel(text, entry));
    row->addStretch();
    return entry;
}

}  // namespace

ShowSchedulesForm::ShowSchedulesForm(Windows& windows, QWidget* parent)
    : QWidget(parent, Qt::Window), m_windows(windows), m_listing(windows.engine().scheduling()->listing()) {
    setObjectName(QStringLiteral("ShowSchedulesForm"));
    setWindowTitle(QStringLiteral("Schedules"));

    auto* caption = new QLabel(ScheduleListing::kPickerCaption, this);
    m_picker = new QDateEdit(this);
    m_picker->setObjectName(QStringLiteral("ShowSchedulesforThisDateDTPicker"));
    m_picker->setDisplayFormat(QStringLiteral("dddd,  d/MMM/yyyy"));
    m_picker->setCalendarPopup(true);
    m_picker->setMinimumWidth(220);
    caption->setBuddy(m_picker);

    // UpDown1: one day back or forward.
    auto* upDown = new QWidget(this);
    upDown->setObjectName(QStringLiteral("UpDown1"));
    auto* upDownLayout = new QVBoxLayout(upDown);
    upDownLayout->setContentsMargins(0, 0, 0, 0);
    upDownLayout->setSpacing(0);
    auto* dayUp = new QToolButton(upDown);
    dayUp->setObjectName(QStringLiteral("UpDown1Up"));
    dayUp->setArrowType(Qt::UpArrow);
    dayUp->setToolTip(QStringLiteral("The next day"));
    auto* dayDown = new QToolButton(upDown);
    dayDown->setObjectName(QStringLiteral("UpDown1Down"));
    dayDown->setArrowType(Qt::DownArrow);
    dayDown->setToolTip(QStringLiteral("The day before"));
    for (QToolButton* button : {dayUp, dayDown}) {
        button->setFixedSize(22, 13);
        upDownLayout->addWidget(button);
    }

    m_week = new QCheckBox(ScheduleListing::kWeekCaption, this);
    m_week->setObjectName(QStringLiteral("NextSevenDaysCheck"));
    m_week->setToolTip(QStringLiteral("Every occurrence of this day and the six days after it"));
    m_listing.setWeekView(false);

    m_today = new QPushButton(ScheduleListing::kTodayButton, this);
    m_today->setObjectName(QStringLiteral("TodayButton"));
    m_notToday = new QLabel(ScheduleListing::kNotTodayNote, this);
    m_notToday->setObjectName(QStringLiteral("NotTodayLabel"));
    m_notToday->setStyleSheet(QStringLiteral("color: #C00000; font-weight: bold;"));

    m_sunrise = new QLabel(this);
    m_sunrise->setObjectName(QStringLiteral("SunriseLabel"));
    m_sunset = new QLabel(this);
    m_sunset->setObjectName(QStringLiteral("SunSetLabel"));

    auto* top = new QHBoxLayout;
    top->addWidget(caption);
    top->addWidget(m_picker);
    top->addWidget(upDown);
    top->addSpacing(12);
    top->addWidget(m_week);
    top->addSpacing(12);
    top->addWidget(m_today);
    top->addWidget(m_notToday);
    top->addStretch();
    top->addWidget(new QLabel(QStringLiteral("Sunrise:"), this));
    top->addWidget(m_sunrise);
    top->addSpacing(12);
    top->addWidget(new QLabel(QStringLiteral("Sunset:"), this));
    top->addWidget(m_sunset);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("ScheduleGrid"));
    auto* colours = new ListingColours(this);
    colours->setSourceModel(&m_listing);
    m_grid->setModel(colours);
    m_grid->setColumnHidden(ScheduleListing::NumberColumn, true);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setWordWrap(false);

    auto* create = new QPushButton(ScheduleListing::kCreateButton, this);
    create->setObjectName(QStringLiteral("CreateButton"));
    m_edit = new QPushButton(ScheduleListing::kEditButton, this);
    m_edit->setObjectName(QStringLiteral("EditButton"));
    m_delete = new QPushButton(ScheduleListing::kDeleteButton, this);
    m_delete->setObjectName(QStringLiteral("DeleteButton"));
    m_enable = new QPushButton(ScheduleListing::kEnableDisable, this);
    m_enable->setObjectName(QStringLiteral("EnableDisableButton"));
    m_enable->setMinimumWidth(170);

    auto* legend = new QVBoxLayout;
    legend->setSpacing(2);
    legend->addWidget(legendEntry(std::nullopt, ScheduleListing::kLegendToday, this));
    legend->addWidget(legendEntry(ScheduleListing::kYellow, ScheduleListing::kLegendFuture, this));
    legend->addWidget(legendEntry(ScheduleListing::kLightRed, ScheduleListing::kLegendDisabled, this));

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(legend);
    bottom->addStretch();
    auto* buttons = new QGridLayout;
    buttons->addWidget(create, 0, 0);
    buttons->addWidget(m_edit, 0, 1);
    buttons->addWidget(m_delete, 1, 0);
    buttons->addWidget(m_enable, 1, 1);
    bottom->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(980, 480);

    connect(m_picker, &QDateEdit::dateChanged, this, &ShowSchedulesForm::showDay);
    connect(dayUp, &QToolButton::clicked, this, [this] { m_picker->setDate(m_picker->date().addDays(1)); });
    connect(dayDown, &QToolButton::clicked, this,
            [this] { m_picker->setDate(m_picker->date().addDays(-1)); });
    connect(m_today, &QPushButton::clicked, this,
            [this] { m_picker->setDate(m_windows.engine().scheduling()->clock().now().date()); });
    connect(m_week, &QCheckBox::toggled, this, &ShowSchedulesForm::setWeekView);
    connect(m_grid, &QTableView::clicked, this, &ShowSchedulesForm::selectRow);
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        selectRow(index);
        editSchedule();
    });
    connect(create, &QPushButton::clicked, this, &ShowSchedulesForm::createSchedule);
    connect(m_edit, &QPushButton::clicked, this, &ShowSchedulesForm::editSchedule);
    connect(m_delete, &QPushButton::clicked, this, &ShowSchedulesForm::deleteSchedule);
    connect(m_enable, &QPushButton::clicked, this, &ShowSchedulesForm::toggleDisabled);
    // CheckforTimeDateChange: the engine's tick at the start of every minute.
    connect(&windows.engine().scheduling()->timer(), &schedule::CheckforEventsTimer::minuteTicked, this,
            [this] {
                if (isVisible()) refresh();
            });

    // Opening shows today (dateChanged may not fire when the picker already holds it).
    const QSignalBlocker quiet(m_picker);
    m_picker->setDate(windows.engine().scheduling()->clock().now().date());
    refresh();
}

void ShowSchedulesForm::showDay(const QDate&) {
    refresh();
}

void ShowSchedulesForm::setWeekView(bool week) {
    {
        const QSignalBlocker quiet(m_week);
        m_week->setChecked(week);
    }
    m_listing.setWeekView(week);
    refresh();
}

void ShowSchedulesForm::refresh() {
    try {
        m_listing.refresh(m_picker->date());
    } catch (const store::StoreError& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
    m_sunrise->setText(m_listing.sunriseText());
    m_sunset->setText(m_listing.sunsetText());
    const bool today = m_listing.viewingToday();
    m_today->setVisible(!today);
    m_notToday->setVisible(!today);
    m_selected.reset();
    setEnableButtonLook();
    sizeColumns();
}

void ShowSchedulesForm::selectRow(const QModelIndex& index) {
    if (!index.isValid()) return;
    m_selected = index.data(ScheduleListing::SchedulerIdRole).toInt();
    setEnableButtonLook();
    m_enable->setFocus();
}

void ShowSchedulesForm::setEnableButtonLook() {
    const schedule::ButtonLook look = m_listing.enableButton(m_selected);
    m_enable->setText(look.caption);
    m_enable->setStyleSheet(look.rgb ? backgroundSheet(*look.rgb) : QString());
    m_enable->setEnabled(m_selected.has_value());
    m_edit->setEnabled(m_selected.has_value());
    m_delete->setEnabled(m_selected.has_value());
}

void ShowSchedulesForm::sizeColumns() {
    // The grid's width less 400 twips, shared out by the listing's percentages.
    const int width = std::max(0, m_grid->viewport()->width() - twipsToPixels(400, this));
    for (int column = ScheduleListing::DayColumn; column < ScheduleListing::ColumnCount; ++column)
        m_grid->setColumnWidth(column, width * ScheduleListing::kColumnWidthPercent[column] / 100);
}

void ShowSchedulesForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    sizeColumns();
}

void ShowSchedulesForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    sizeColumns();
}

void ShowSchedulesForm::createSchedule() {
    m_windows.open(window::kScheduler);
}

void ShowSchedulesForm::editSchedule() {
    if (m_selected) m_windows.open(window::kScheduler, *m_selected);
}

void ShowSchedulesForm::deleteSchedule() {
    if (!m_selected) return;
    if (!askYesNo(this, ScheduleListing::kDeleteQuestion, ScheduleListing::kDeleteTitle)) return;
    try {
        m_listing.deleteSchedule(*m_selected);
    } catch (const store::StoreError& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
    refresh();
}

void ShowSchedulesForm::toggleDisabled() {
    if (!m_selected) return;
    try {
        m_listing.toggleDisabled(*m_selected);
    } catch (const store::StoreError& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
    refresh();
}

}  // namespace qv::ui
