#pragma once
// Shared pieces of the scheduling tests: a clock set by hand, a macro runner
// that remembers what it was asked to run, a sun that always rises and sets at
// the same times, and a real main database in a temporary folder with helpers
// to add macros and schedules the way the editor (or an older file) stores them.

#include "clock/clock.h"
#include "macros/macro_runner.h"
#include "schedule/local_time.h"
#include "schedule/schedule_editor.h"
#include "schedule/sun_times.h"
#include "store/store.h"
#include "support/main_db.h"
#include "support/manual_clock.h"
#include "support/printers.h"
#include "support/qt_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimeZone>

#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

namespace qv::schedule::test {

// Wall time set by hand; advance() moves it on in seconds, firing the timers on the way.
class ManualClock final : public qv::test::ManualClock {
public:
    explicit ManualClock(QDateTime now = QDateTime(QDate(2026, 1, 5), QTime(9, 0)))
        : qv::test::ManualClock(std::move(now)) {}
    void set(const QDateTime& now) { setStart(now.addMSecs(-monotonicMs())); }
    void advance(qint64 seconds) { qv::test::ManualClock::advance(seconds * 1000); }
};

class FakeMacroRunner final : public macros::MacroRunner {
public:
    void RunMacro(const QString& name) override {
        ran << name;
        if (name == throwFor) throw std::runtime_error("the cue is full");
    }
    QStringList ran;
    QString throwFor;  // a macro name whose RunMacro fails
};

// Sunrise 06:10:20 and sunset 17:42:10 every day, unless set otherwise.
class FixedSun final : public SunSource {
public:
    SunTimes sunTimes(LocalDay) const override {
        ++asked;
        return times;
    }
    SunTimes times{std::chrono::hours(6) + std::chrono::minutes(10) + std::chrono::seconds(20),
                   std::chrono::hours(17) + std::chrono::minutes(42) + std::chrono::seconds(10),
                   SunDay::RisesAndSets};
    mutable int asked = 0;
};

inline LocalDateTime ldt(const char* text) {
    const auto parsed = parseDateTimeText(QString::fromLatin1(text));
    if (!parsed) throw std::invalid_argument(text);
    return *parsed;
}

inline LocalDay day(const char* text) {
    return dayOf(ldt(text));
}

inline std::optional<QString> dayText(const std::optional<LocalDay>& value) {
    if (!value) return std::nullopt;
    return dateText(*value);
}

// The editor's draft of a fixed-time one-off of the macro, on the day of `now`.
inline ScheduleDraft fixedTimeDraft(const QDateTime& now, int macroId, const QTime& time) {
    ScheduleDraft draft = ScheduleEditor::defaultDraft(now);
    draft.macroId = macroId;
    draft.timeMode = ScheduleDraft::TimeMode::SpecificTime;
    draft.specificTime = time;
    return draft;
}

using Fields = std::map<QString, QVariant>;
inline const Fields kEveryDay{{"RecurringDaily", 1}, {"D1_EveryXdays", 1}};

// A main database with the full schema, in a folder that goes with the test.
class MainDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        qv::test::qtApp();
        // Every test creates a database; the store's schema steps would fill the output.
        QLoggingCategory::setFilterRules(QStringLiteral("quorvel.store.info=false"));
        ASSERT_TRUE(m_dir.isValid());
        paths.dir = m_dir.path();
        db.emplace(qv::test::openFreshMainDb(paths.mainDb()));
        // The file is thrown away after the test: no need to wait for the disk.
        db->exec(QStringLiteral("PRAGMA synchronous = OFF"));
    }

    void TearDown() override {
        if (db) db->close();
    }

    int addMacro(const QString& name) {
        return qv::test::insert(*db, QStringLiteral("INSERT INTO Macros (Macro, Enabled) VALUES (?, 1)"),
                                {name});
    }

    // A Scheduler row: a fixed-time one-off unless `fields` say otherwise.
    int addSchedule(int macroId, const Fields& fields) {
        Fields row = {{"Macro_ID", macroId},   {"Disabled", 0},       {"startdate", "2026-01-05 10:00:00"},
                      {"starttime", "10:00"},  {"hours", "00:00"},    {"\"before\"", 0},
                      {"Sunset", 0},           {"RecurringDaily", 0}, {"RecurringWeekly", 0},
                      {"RecurringMonthly", 0}, {"RecurringYearly", 0}};
        for (const auto& [name, value] : fields)
            row[name == QLatin1String("before") ? QStringLiteral("\"before\"") : name] = value;
        QStringList names;
        QStringList marks;
        for (const auto& [name, value] : row) {
            names << name;
            marks << QStringLiteral("?");
        }
        QVariantList values;
        for (const auto& [name, value] : row) values << value;
        return qv::test::insert(*db,
                                QStringLiteral("INSERT INTO Scheduler (%1) VALUES (%2)")
                                    .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                                values);
    }

    // A schedule of the macro from `startdate` ("yyyy-MM-dd hh:mm:ss") at its
    // time of day: a one-off unless `fields` say otherwise.
    int scheduleAt(int macroId, const char* startdate, Fields fields = {}) {
        const QString start = QString::fromLatin1(startdate);
        fields.emplace("startdate", start);
        fields.emplace("starttime", start.mid(11, 5));
        return addSchedule(macroId, fields);
    }
    // The same for a new macro of that name.
    int scheduleAt(const QString& macro, const char* startdate, const Fields& fields = {}) {
        return scheduleAt(addMacro(macro), startdate, fields);
    }

    // Workspace rows as "id start" texts, in time order then by number.
    QStringList workspaceRows() {
        QSqlQuery q =
            db->run(QStringLiteral("SELECT Scheduler_ID, StartDateTime FROM ScheduleWorkspace "
                                   "ORDER BY StartDateTime, Scheduler_ID"));
        QStringList rows;
        while (q.next()) rows << QStringLiteral("%1 %2").arg(q.value(0).toInt()).arg(q.value(1).toString());
        return rows;
    }

    QVariant scalar(const QString& sql, const QVariantList& values = {}) { return db->value(sql, values); }

    store::DataPaths paths;
    std::optional<store::Database> db;
    qv::test::RecordingMonitor monitor;
    FakeMacroRunner macros;

private:
    QTemporaryDir m_dir;
};

}  // namespace qv::schedule::test
