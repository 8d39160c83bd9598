#pragma once
// The schedule listing ("Show Me Scheduled events for:"): the coming
// occurrences of one day from the engine's ScheduleListing, with the sun times
// of that day, and the buttons that create, edit, delete, enable and disable
// schedules. The grid is refreshed at the start of every minute, on the
// engine's minute tick, after that tick has fired what was due. "Next 7 days"
// lists every occurrence of the viewed day and the six days after it.

#include <QWidget>

#include <optional>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;

namespace qv::schedule {
class ScheduleListing;
}

namespace qv::ui {

class Windows;

class ShowSchedulesForm : public QWidget {
    Q_OBJECT
public:
    explicit ShowSchedulesForm(Windows& windows, QWidget* parent = nullptr);

    // RefreshGrid for the picker's day.
    void refresh();
    std::optional<int> selectedSchedule() const { return m_selected; }
    // "Next 7 days": every occurrence of the picker's day and the six after it.
    void setWeekView(bool week);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showDay(const QDate& day);
    void selectRow(const QModelIndex& index);
    void setEnableButtonLook();
    void sizeColumns();
    void createSchedule();
    void editSchedule();
    void deleteSchedule();
    void toggleDisabled();

    Windows& m_windows;
    schedule::ScheduleListing& m_listing;
    std::optional<int> m_selected;

    QDateEdit* m_picker = nullptr;
    QCheckBox* m_week = nullptr;
    QPushButton* m_today = nullptr;
    QLabel* m_notToday = nullptr;
    QLabel* m_sunrise = nullptr;
    QLabel* m_sunset = nullptr;
    QTableView* m_grid = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_enable = nullptr;
};

}  // namespace qv::ui
