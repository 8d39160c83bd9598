#pragma once
// The alarms of one iCalendar file (events and tasks with VALARM), and which
// of them come due in a span of time.
//
// An alarm's trigger is either a moment of its own or an offset from the
// start (or, with RELATED=END, the end or due time) of each occurrence.
// Recurring items (RRULE, RDATE, EXDATE, and single occurrences overridden by
// RECURRENCE-ID) are expanded. Times carry their TZID (the file's VTIMEZONE,
// else the zone database), are UTC, or are floating / all-day, which are read
// in the zone the caller gives (the program's local zone). Cancelled events
// and completed tasks raise no alarms; an alarm's REPEAT is not followed (the
// reminder is dismissed when it first comes due).

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include <memory>
#include <optional>
#include <vector>

namespace qv::schedule {

struct DueAlarm {
    QString key;        // stable name of this alarm of this occurrence
    QString text;       // the item's summary
    QDateTime trigger;  // when it comes due (UTC)
};

class CalendarAlarms {
public:
    // Parses an iCalendar text. A text that is not one, or that the parser
    // reports errors in, gives nothing and the reason in *error.
    static std::optional<CalendarAlarms> parse(const QByteArray& text, QString* error);

    CalendarAlarms(CalendarAlarms&&) noexcept;
    CalendarAlarms& operator=(CalendarAlarms&&) noexcept;
    ~CalendarAlarms();

    // Alarms whose trigger falls in [from, to], ordered by trigger.
    std::vector<DueAlarm> dueBetween(const QDateTime& from, const QDateTime& to,
                                     const QTimeZone& floatingZone) const;

    int itemCount() const;  // events and tasks that carry alarms

private:
    struct Impl;
    explicit CalendarAlarms(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

}  // namespace qv::schedule
