// The plain recurrences against dateutil's rrule (tools/gen_recurrence_table.py).

#include "oracle_table.h"
#include "schedule/rules.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>

namespace qv::schedule::test {
namespace {

std::optional<LocalDay> compute(const QStringList& row) {
    const QString kind = row[0];
    const LocalDateTime start = *parseDateTimeText(row[1]);
    const TimeOfDay time = row[2].isEmpty() ? TimeOfDay() : parseTimeOfDayText(row[2]);
    const LocalDateTime from = *parseDateTimeText(row[3]);
    const int a = row[4].toInt();
    const int b = row[5].toInt();
    const int c = row[6].toInt();
    const auto ordinal = [](int n) { return n == 5 ? Ordinal::Last : static_cast<Ordinal>(n - 1); };
    if (kind == QLatin1String("xdays")) return nextEveryXDays(start, time, a, from);
    if (kind == QLatin1String("weekday")) return nextEveryWeekDay(start, from);
    if (kind == QLatin1String("weekend")) return nextEveryWeekEndDay(start, from);
    if (kind == QLatin1String("xweeks")) {
        WeekDays days{};
        for (std::size_t i = 0; i < 7; ++i) days[i] = row[7][static_cast<int>(i)] == QLatin1Char('1');
        return nextEveryXWeeks(start, time, a, days, from);
    }
    if (kind == QLatin1String("mday")) return nextDayOfEveryXMonths(start, a, b, from);
    if (kind == QLatin1String("mnth")) return nextNthWeekdayOfEveryXMonths(start, ordinal(a), b, c, from);
    if (kind == QLatin1String("yday"))
        return nextDayOfNamedMonth(start, time, a, static_cast<unsigned>(b), from);
    if (kind == QLatin1String("ynth"))
        return nextNthWeekdayOfNamedMonth(start, time, ordinal(a), b, static_cast<unsigned>(c), from);
    ADD_FAILURE() << "unknown kind " << kind.toStdString();
    return std::nullopt;
}

TEST(RecurrenceOracle, MatchesRrule) {
    const auto rows = readTable("recurrence_rrule.csv", QLatin1Char(';'));
    ASSERT_GT(rows.size(), 800u);
    std::map<QString, int> checked;
    for (const QStringList& row : rows) {
        ASSERT_EQ(row.size(), 10) << row.join(';').toStdString();
        const std::optional<LocalDay> got = compute(row);
        const QString expected = row[8];
        const QString shown = got ? dateText(*got) : QStringLiteral("none");
        if (row[0] == QLatin1String("xweeks")) {
            // The weekly scan looks at two active weeks only, so it may find
            // nothing; what it finds is the true next occurrence, and at 00:00
            // of an occurrence day it always finds that day.
            if (got) {
                EXPECT_EQ(shown, expected) << row.join(';').toStdString();
            }
            if (row[9] == QLatin1String("1")) {
                EXPECT_TRUE(got.has_value()) << row.join(';').toStdString();
            }
        } else {
            EXPECT_EQ(shown, expected) << row.join(';').toStdString();
        }
        ++checked[row[0]];
    }
    EXPECT_EQ(checked.size(), 8u);  // every kind of the table was seen
}

}  // namespace
}  // namespace qv::schedule::test
