#include "schedule/calendar_alarms.h"

#include <libical/ical.h>

#include <QCryptographicHash>

#include <algorithm>
#include <set>

namespace qv::schedule {

namespace {

constexpr int kMaxOccurrences = 100000;  // a runaway rule (FREQ=SECONDLY) stops here

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

QString firstError(icalcomponent* component) {
    for (icalproperty* p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
        return QString::fromUtf8(icalproperty_get_xlicerror(p));
    }
    for (icalcomponent* c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
        const QString error = firstError(c);
        if (!error.isEmpty()) return error;
    }
    return {};
}

// How the wall-clock values of one property are read.
class TimeReader {
public:
    TimeReader(icalcomponent* calendar, icalproperty* property, const QTimeZone& floating)
        : m_floating(floating) {
        if (!property) return;
        if (icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER)) {
            const char* name = icalparameter_get_tzid(tzid);
            m_vtimezone = icalcomponent_get_timezone(calendar, name);
            if (!m_vtimezone) {
                const QTimeZone zone{QByteArray(name)};
                if (zone.isValid()) m_zone = zone;
            }
        }
    }

    QDateTime read(icaltimetype t) const {
        if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t)) return {};
        const QDate date(t.year, t.month, t.day);
        if (t.is_date) return QDateTime(date, QTime(0, 0), m_floating);
        if (icaltime_is_utc(t)) return QDateTime(date, QTime(t.hour, t.minute, t.second), QTimeZone::utc());
        if (m_vtimezone) {
            icaltimetype zoned = t;
            icaltime_set_timezone(&zoned, m_vtimezone);
            const time_t utc =
                icaltime_as_timet(icaltime_convert_to_zone(zoned, icaltimezone_get_utc_timezone()));
            return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(utc), QTimeZone::utc());
        }
        return QDateTime(date, QTime(t.hour, t.minute, t.second), m_zone.value_or(m_floating));
    }

    // A moment written the way `like` is (UTC, wall clock of its zone, or a date).
    icaltimetype write(const QDateTime& when, const icaltimetype& like) const {
        int fields[6] = {};
        if (m_vtimezone && !icaltime_is_utc(like)) {
            const icaltimetype wall = icaltime_convert_to_zone(
                icaltime_from_timet_with_zone(static_cast<time_t>(when.toSecsSinceEpoch()), 0,
                                              icaltimezone_get_utc_timezone()),
                m_vtimezone);
            const int values[6] = {wall.year, wall.month, wall.day, wall.hour, wall.minute, wall.second};
            std::copy(values, values + 6, fields);
        } else {
            const QDateTime wall =
                icaltime_is_utc(like) ? when.toUTC() : when.toTimeZone(m_zone.value_or(m_floating));
            const int values[6] = {wall.date().year(), wall.date().month(),  wall.date().day(),
                                   wall.time().hour(), wall.time().minute(), wall.time().second()};
            std::copy(values, values + 6, fields);
        }
        icaltimetype t = like;
        t.year = fields[0];
        t.month = fields[1];
        t.day = fields[2];
        if (!like.is_date) {
            t.hour = fields[3];
            t.minute = fields[4];
            t.second = fields[5];
        }
        return t;
    }

private:
    QTimeZone m_floating;
    icaltimezone* m_vtimezone = nullptr;
    std::optional<QTimeZone> m_zone;
};

QString utcText(const QDateTime& when) {
    return when.toUTC().toString(Qt::ISODate);
}

struct Occurrence {
    QDateTime start;
    QDateTime end;
    QString id;  // the occurrence's own start, as a recurrence id
};

// Occurrences (UID, start) that an item with a RECURRENCE-ID replaces.
using Overridden = std::set<std::pair<QString, qint64>>;

// Adds the alarms of one event or task whose trigger falls in [from, to].
void collectAlarms(icalcomponent* calendar, icalcomponent* item, const Overridden& overridden,
                   const QDateTime& from, const QDateTime& to, const QTimeZone& floatingZone,
                   std::vector<DueAlarm>& due) {
    const bool task = icalcomponent_isa(item) == ICAL_VTODO_COMPONENT;
    const icalproperty_status status = icalcomponent_get_status(item);
    if (status == ICAL_STATUS_CANCELLED || status == ICAL_STATUS_COMPLETED ||
        icalcomponent_get_first_property(item, ICAL_COMPLETED_PROPERTY))
        return;

    const QString summary = QString::fromUtf8(icalcomponent_get_summary(item));
    icalproperty* startProp = icalcomponent_get_first_property(item, ICAL_DTSTART_PROPERTY);
    icalproperty* endProp =
        icalcomponent_get_first_property(item, task ? ICAL_DUE_PROPERTY : ICAL_DTEND_PROPERTY);
    icalproperty* durationProp = icalcomponent_get_first_property(item, ICAL_DURATION_PROPERTY);
    const TimeReader startReader(calendar, startProp, floatingZone);
    const TimeReader endReader(calendar, endProp, floatingZone);
    const QDateTime start = startProp ? startReader.read(icalproperty_get_dtstart(startProp)) : QDateTime();
    QDateTime end;
    if (endProp)
        end = endReader.read(task ? icalproperty_get_due(endProp) : icalproperty_get_dtend(endProp));
    else if (durationProp && start.isValid())
        end = start.addSecs(icaldurationtype_as_int(icalproperty_get_duration(durationProp)));
    const qint64 length = start.isValid() && end.isValid() ? start.secsTo(end) : 0;

    QString uid = QString::fromUtf8(icalcomponent_get_uid(item));
    icalproperty* rid = icalcomponent_get_first_property(item, ICAL_RECURRENCEID_PROPERTY);
    const QString ownId =
        rid ? utcText(TimeReader(calendar, rid, floatingZone).read(icalproperty_get_recurrenceid(rid)))
            : QString();
    if (uid.isEmpty()) {
        // Without a UID the item is known by what it says and when.
        uid = QString::fromLatin1(QCryptographicHash::hash((summary + utcText(start) + utcText(end)).toUtf8(),
                                                           QCryptographicHash::Sha1)
                                      .toHex());
    }

    for (icalcomponent* alarm = icalcomponent_get_first_component(item, ICAL_VALARM_COMPONENT); alarm;
         alarm = icalcomponent_get_next_component(item, ICAL_VALARM_COMPONENT)) {
        icalproperty* triggerProp = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
        if (!triggerProp) continue;
        const icaltriggertype trigger = icalproperty_get_trigger(triggerProp);
        if (!icaltime_is_null_time(trigger.time)) {
            // A trigger at a moment of its own fires once, whatever the recurrence.
            const QDateTime when = TimeReader(calendar, triggerProp, floatingZone).read(trigger.time);
            if (when.isValid() && when >= from && when <= to)
                due.push_back({uid + QLatin1Char('|') + ownId + QStringLiteral("|at|") + utcText(when),
                               summary, when.toUTC()});
            continue;
        }
        const qint64 offset = icaldurationtype_as_int(trigger.duration);
        icalparameter* related = icalproperty_get_first_parameter(triggerProp, ICAL_RELATED_PARAMETER);
        const bool fromEnd = related && icalparameter_get_related(related) == ICAL_RELATED_END;
        // For a task without a start, the due time is what the alarm is about.
        const bool useEnd = fromEnd || (task && !start.isValid());
        const qint64 anchorShift = useEnd ? (start.isValid() ? length : 0) : 0;

        const auto consider = [&](const Occurrence& occurrence) {
            const QDateTime anchor =
                useEnd ? (start.isValid() ? occurrence.start.addSecs(anchorShift) : end) : occurrence.start;
            if (!anchor.isValid()) return;
            const QDateTime when = anchor.addSecs(offset);
            if (when >= from && when <= to)
                due.push_back({uid + QLatin1Char('|') + occurrence.id + QLatin1Char('|') + utcText(when),
                               summary, when.toUTC()});
        };

        icalproperty* rrule = icalcomponent_get_first_property(item, ICAL_RRULE_PROPERTY);
        const bool recurring =
            start.isValid() && !rid && (rrule || icalcomponent_get_first_property(item, ICAL_RDATE_PROPERTY));
        if (!recurring) {
            consider({start, end, ownId.isEmpty() ? utcText(start) : ownId});
            continue;
        }

        // Occurrence starts that can put the trigger in [from, to].
        const QDateTime earliest = from.addSecs(-offset - anchorShift);
        const QDateTime latest = to.addSecs(-offset - anchorShift);
        icaltimetype dtstart = icalproperty_get_dtstart(startProp);
        const auto occurrenceAt = [&](icaltimetype t) {
            if (icalproperty_recurrence_is_excluded(item, &dtstart, &t)) return;
            const QDateTime when = startReader.read(t);
            if (!when.isValid() || when < earliest || when > latest) return;
            if (overridden.count({uid, when.toSecsSinceEpoch()}))
                return;  // its RECURRENCE-ID item stands for it
            consider({when, when.addSecs(length), utcText(when)});
        };
        if (rrule) {
            const icalrecurrencetype rule = icalproperty_get_rrule(rrule);
            icalrecur_iterator* it = icalrecur_iterator_new(rule, dtstart);
            // A long-running rule is entered shortly before the span instead
            // of walked from its first occurrence (not possible with COUNT).
            const QDateTime enterAt = earliest.addDays(-2);
            if (it && rule.count == 0 && enterAt > start &&
                !icalrecur_iterator_set_start(it, startReader.write(enterAt, dtstart))) {
                icalrecur_iterator_free(it);
                it = icalrecur_iterator_new(rule, dtstart);
            }
            for (int n = 0; it && n < kMaxOccurrences; ++n) {
                const icaltimetype next = icalrecur_iterator_next(it);
                if (icaltime_is_null_time(next)) break;
                if (startReader.read(next) > latest) break;
                occurrenceAt(next);
            }
            if (it) icalrecur_iterator_free(it);
        } else {
            occurrenceAt(dtstart);
        }
        for (icalproperty* rdate = icalcomponent_get_first_property(item, ICAL_RDATE_PROPERTY); rdate;
             rdate = icalcomponent_get_next_property(item, ICAL_RDATE_PROPERTY)) {
            const icaldatetimeperiodtype value = icalproperty_get_rdate(rdate);
            if (!icaltime_is_null_time(value.time)) occurrenceAt(value.time);
        }
    }
}

}  // namespace

struct CalendarAlarms::Impl {
    ComponentPtr root;
    std::vector<icalcomponent*> calendars;
    std::vector<icalcomponent*> items;      // events and tasks with alarms
    std::vector<icalcomponent*> overrides;  // every event and task with a RECURRENCE-ID
};

CalendarAlarms::CalendarAlarms(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
CalendarAlarms::CalendarAlarms(CalendarAlarms&&) noexcept = default;
CalendarAlarms& CalendarAlarms::operator=(CalendarAlarms&&) noexcept = default;
CalendarAlarms::~CalendarAlarms() = default;

int CalendarAlarms::itemCount() const {
    return static_cast<int>(m_impl->items.size());
}

std::optional<CalendarAlarms> CalendarAlarms::parse(const QByteArray& text, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error) *error = reason;
        return std::nullopt;
    };
    if (!text.contains("BEGIN:VCALENDAR")) return fail(QStringLiteral("it is not an iCalendar file"));
    ComponentPtr root(icalparser_parse_string(text.constData()));
    if (!root) return fail(QStringLiteral("it is not an iCalendar file"));
    if (icalcomponent_count_errors(root.get()) > 0) return fail(firstError(root.get()));

    auto impl = std::make_unique<Impl>();
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        impl->calendars.push_back(root.get());
    } else {
        for (icalcomponent* c = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            impl->calendars.push_back(c);
    }
    if (impl->calendars.empty()) return fail(QStringLiteral("it holds no calendar"));
    for (icalcomponent* calendar : impl->calendars) {
        for (const icalcomponent_kind kind : {ICAL_VEVENT_COMPONENT, ICAL_VTODO_COMPONENT}) {
            for (icalcomponent* item = icalcomponent_get_first_component(calendar, kind); item;
                 item = icalcomponent_get_next_component(calendar, kind)) {
                if (icalcomponent_get_first_component(item, ICAL_VALARM_COMPONENT))
                    impl->items.push_back(item);
                // A moved or cancelled occurrence stands in for the master's
                // even when it carries no alarm of its own.
                if (icalcomponent_get_first_property(item, ICAL_RECURRENCEID_PROPERTY))
                    impl->overrides.push_back(item);
            }
        }
    }
    impl->root = std::move(root);
    return CalendarAlarms(std::move(impl));
}

std::vector<DueAlarm> CalendarAlarms::dueBetween(const QDateTime& from, const QDateTime& to,
                                                 const QTimeZone& floatingZone) const {
    std::vector<DueAlarm> due;
    for (icalcomponent* calendar : m_impl->calendars) {
        // Occurrences that a RECURRENCE-ID item replaces, per UID.
        Overridden overridden;
        for (icalcomponent* item : m_impl->overrides) {
            if (icalcomponent_get_parent(item) != calendar) continue;
            if (icalproperty* rid = icalcomponent_get_first_property(item, ICAL_RECURRENCEID_PROPERTY)) {
                const QDateTime when =
                    TimeReader(calendar, rid, floatingZone).read(icalproperty_get_recurrenceid(rid));
                overridden.emplace(QString::fromUtf8(icalcomponent_get_uid(item)), when.toSecsSinceEpoch());
            }
        }

        for (icalcomponent* item : m_impl->items) {
            if (icalcomponent_get_parent(item) == calendar)
                collectAlarms(calendar, item, overridden, from, to, floatingZone, due);
        }
    }
    std::sort(due.begin(), due.end(), [](const DueAlarm& a, const DueAlarm& b) {
        return a.trigger != b.trigger ? a.trigger < b.trigger : a.key < b.key;
    });
    return due;
}

}  // namespace qv::schedule
