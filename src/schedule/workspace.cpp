#include "schedule/workspace.h"

#include "clock/clock.h"
#include "schedule/description.h"
#include "schedule/logging.h"
#include "schedule/occurrence_time.h"
#include "schedule/schedule_row.h"
#include "store/database.h"
#include "store/monitor_record.h"
#include "store/transaction.h"

#include <QSqlRecord>

#include <QStringList>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace qv::schedule {

namespace {

// Many schedules share a day; each day's sun is worked out once per rebuild.
class CachedSun final : public SunSource {
public:
    explicit CachedSun(const SunSource& source) : m_source(source) {}
    SunTimes sunTimes(LocalDay day) const override {
        auto found = m_cache.find(day);
        if (found == m_cache.end()) found = m_cache.emplace(day, m_source.sunTimes(day)).first;
        return found->second;
    }

private:
    const SunSource& m_source;
    mutable std::map<LocalDay, SunTimes> m_cache;
};

}  // namespace

ScheduleWorkspace::ScheduleWorkspace(store::Database& main, store::MonitorSink& monitor,
                                     const qv::Clock& clock, const SunSource& sun)
    : m_db(main), m_monitorWriter(monitor, clock), m_sun(sun) {}

ScheduleWorkspace::Rebuild ScheduleWorkspace::CalcNextDateTimeforThisSchedule(LocalDateTime from) {
    Rebuild result;
    std::vector<std::pair<int, QString>> problems;
    {
        store::Transaction transaction(m_db);
        m_db.exec(QStringLiteral("DELETE FROM ScheduleWorkspace"));

        QSqlQuery select = m_db.prepare(
            QStringLiteral("SELECT %1 FROM Scheduler ORDER BY Scheduler_ID").arg(schedulerColumns()));
        m_db.exec(select);
        std::vector<ScheduleRow> rows;
        while (select.next()) rows.push_back(readScheduleRow(select));
        select.finish();

        std::vector<std::pair<int, QString>> starts;
        starts.reserve(rows.size());
        const CachedSun sun(m_sun);
        for (const RuleKind kind : kRuleKindsInOrder) {
            for (const ScheduleRow& row : rows) {
                if (!selects(kind, row)) continue;
                try {
                    const std::optional<LocalDay> day = nextOccurrence(kind, row, from);
                    if (!day) continue;
                    const LocalDateTime start = occurrenceStart(*day, row.starttimeText(), offsetOf(row),
                                                                row.before, row.Sunset, sun);
                    starts.emplace_back(row.Scheduler_ID, dateTimeText(start));
                } catch (const RuleFieldError& error) {
                    ++result.skipped;
                    problems.emplace_back(row.Scheduler_ID, QString::fromStdString(error.what()));
                }
            }
        }
        insertRows(starts);
        result.rows = static_cast<int>(starts.size());
        transaction.commit();
    }
    for (const auto& [schedulerId, problem] : problems) warnOnce(schedulerId, problem);
    return result;
}

void ScheduleWorkspace::insertRows(const std::vector<std::pair<int, QString>>& starts) {
    // Many rows per statement: one statement per row costs more than the rules.
    constexpr std::size_t kRowsPerStatement = 200;
    const auto statement = [this](std::size_t rows) {
        QStringList values(static_cast<qsizetype>(rows), QStringLiteral("(?, ?)"));
        return m_db.prepare(
            QStringLiteral("INSERT INTO ScheduleWorkspace (Scheduler_ID, StartDateTime) VALUES %1")
                .arg(values.join(QLatin1Char(','))));
    };
    std::optional<QSqlQuery> full;
    for (std::size_t first = 0; first < starts.size(); first += kRowsPerStatement) {
        const std::size_t count = std::min(kRowsPerStatement, starts.size() - first);
        if (count == kRowsPerStatement && !full) full = statement(count);
        QSqlQuery partial = count == kRowsPerStatement ? QSqlQuery() : statement(count);
        QSqlQuery& insert = count == kRowsPerStatement ? *full : partial;
        for (std::size_t i = 0; i < count; ++i) {
            insert.bindValue(static_cast<int>(2 * i), starts[first + i].first);
            insert.bindValue(static_cast<int>(2 * i + 1), starts[first + i].second);
        }
        m_db.exec(insert);
    }
}

QString ScheduleWorkspace::GetScheduleDescription(int schedulerId) {
    QSqlQuery query =
        m_db.prepare(QStringLiteral("SELECT %1 FROM ScheduleWorkspace INNER JOIN Scheduler "
                                    "ON ScheduleWorkspace.Scheduler_ID = Scheduler.Scheduler_ID "
                                    "WHERE ScheduleWorkspace.Scheduler_ID = ? "
                                    "ORDER BY ScheduleWorkspace.StartDateTime")
                         .arg(schedulerColumns(QStringLiteral("Scheduler."))));
    query.bindValue(0, schedulerId);
    m_db.exec(query);
    if (!query.next()) return {};
    return describeSchedule(readScheduleRow(query));
}

void ScheduleWorkspace::warnOnce(int schedulerId, const QString& problem) {
    if (!m_warned.emplace(schedulerId, problem).second) return;
    qCWarning(lcSchedule) << "schedule" << schedulerId << "left out:" << problem;
    m_monitorWriter.warning(
        QStringLiteral("Schedule %1 has no next occurrence: %2").arg(schedulerId).arg(problem));
}

}  // namespace qv::schedule
