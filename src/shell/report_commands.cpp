#include "shell/report_commands.h"

#include "clock/clock.h"
#include "features/devices/energy_report.h"
#include "process/command_line.h"
#include "schedule/scheduling.h"
#include "schedule/sun_times.h"
#include "store/store.h"

#include <QCommandLineParser>
#include <QDate>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>
#include <optional>
#include <variant>

namespace qv::shell {

namespace {

void printLine(std::FILE* out, const QString& text) {
    std::fprintf(out, "%s\n", text.toLocal8Bit().constData());
    std::fflush(out);
}

int failure(const QString& text) {
    printLine(stderr, QStringLiteral("quorvel: ") + text);
    return 2;
}

// The subcommand's own words stand where Qt would put the program's name.
std::optional<int> parsedExit(process::CommandLine& commandLine, const QStringList& arguments) {
    const auto parsed = commandLine.parse<std::monostate>(arguments.mid(1));
    return process::commandLineExit(QStringLiteral("quorvel"), parsed);
}

QString dataDirOf(const QCommandLineParser& parser, const QCommandLineOption& option) {
    return parser.isSet(option) ? parser.value(option)
                                : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

int energyReport(const QStringList& arguments) {
    process::CommandLine commandLine(
        QStringLiteral("quorvel energy-report"),
        QStringLiteral(
            "Writes the energy-usage report of a date range into energyusage.db (and a CSV file)."));
    QCommandLineParser& parser = commandLine.parser();
    const QCommandLineOption from(QStringLiteral("from"), QStringLiteral("First day, YYYY-MM-DD."),
                                  QStringLiteral("DATE"));
    const QCommandLineOption to(QStringLiteral("to"),
                                QStringLiteral("End of the range: that day at 00:00, YYYY-MM-DD."),
                                QStringLiteral("DATE"));
    const QCommandLineOption csv(QStringLiteral("csv"), QStringLiteral("Also write the report as CSV."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("The folder of the databases."), QStringLiteral("DIR"));
    parser.addOptions({from, to, csv, dataDir});
    if (const auto exit = parsedExit(commandLine, arguments)) return *exit;
    const QDate first = QDate::fromString(parser.value(from), Qt::ISODate);
    const QDate last = QDate::fromString(parser.value(to), Qt::ISODate);
    if (!first.isValid() || !last.isValid())
        return failure(QStringLiteral("energy-report needs --from and --to as YYYY-MM-DD"));
    if (last < first) return failure(QStringLiteral("--to comes before --from"));
    const store::DataPaths paths{dataDirOf(parser, dataDir)};
    if (!QFileInfo(paths.dir).isDir())
        return failure(QStringLiteral("the data folder %1 does not exist").arg(paths.dir));
    int shown = -1;
    const devices::EnergyReportResult result =
        devices::createEnergyUsageReport(paths, first, last, parser.value(csv), [&](int percent) {
            // Progress on standard error, one line per tenth, so a log stays short.
            if (percent / 10 != shown / 10) {
                shown = percent;
                std::fprintf(stderr, "energy report: %d%%\n", percent);
            }
        });
    printLine(result.ok ? stdout : stderr, result.message);
    return result.ok ? 0 : 1;
}

// A report never changes the live files: it reads a copy of the main
// database taken without writing to it. Empty on failure, with *error set.
QString snapshotOfMainDb(const QString& live, const QTemporaryDir& scratch, QString* error) {
    const QString copy = scratch.filePath(QStringLiteral("quorvel.db"));
    const QString name = QStringLiteral("report-snapshot");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // With no write-ahead log beside it (the program is not running) the
        // file is all there is: opened as immutable, SQLite adds no files.
        const bool running = QFileInfo::exists(live + QStringLiteral("-wal"));
        db.setDatabaseName(running ? live
                                   : QUrl::fromLocalFile(live).toString(QUrl::FullyEncoded) +
                                         QStringLiteral("?immutable=1"));
        db.setConnectOptions(running ? QStringLiteral("QSQLITE_OPEN_READONLY")
                                     : QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        if (!db.open()) {
            *error = db.lastError().text();
        } else {
            QSqlQuery query(db);
            query.prepare(QStringLiteral("VACUUM INTO ?"));
            query.addBindValue(copy);
            if (!query.exec()) *error = query.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return error->isEmpty() ? copy : QString();
}

// Problems found while listing go to standard error, not into the log.
class StderrMonitor final : public store::MonitorSink {
public:
    void MonitorAdditem(const store::MonitorRecord& record) override {
        printLine(stderr, record.MsgType + QStringLiteral(": ") + record.comment);
    }
};

int schedules(const QStringList& arguments) {
    process::CommandLine commandLine(
        QStringLiteral("quorvel schedules"),
        QStringLiteral("Prints the schedules of a day, with the site's sunrise and sunset."));
    QCommandLineParser& parser = commandLine.parser();
    const QCommandLineOption date(QStringLiteral("date"),
                                  QStringLiteral("The day, YYYY-MM-DD (default today)."),
                                  QStringLiteral("DATE"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("The folder of the databases."), QStringLiteral("DIR"));
    parser.addOptions({date, dataDir});
    if (const auto exit = parsedExit(commandLine, arguments)) return *exit;
    std::optional<QDate> day;
    if (parser.isSet(date)) {
        day = QDate::fromString(parser.value(date), Qt::ISODate);
        if (!day->isValid())
            return failure(QStringLiteral("--date takes YYYY-MM-DD, not '%1'").arg(parser.value(date)));
    }
    const store::DataPaths paths{dataDirOf(parser, dataDir)};
    if (!QFileInfo(paths.dir).isDir())
        return failure(QStringLiteral("the data folder %1 does not exist").arg(paths.dir));
    if (!QFileInfo::exists(paths.mainDb()))
        return failure(QStringLiteral("there is no main database at %1").arg(paths.mainDb()));
    const QTemporaryDir scratch;
    QString error;
    const QString copy = snapshotOfMainDb(paths.mainDb(), scratch, &error);
    if (copy.isEmpty()) return failure(QStringLiteral("%1 could not be read: %2").arg(paths.mainDb(), error));
    try {
        auto main = store::Database::open(copy, store::DbKind::Main);
        qv::SystemClock clock;
        StderrMonitor monitor;
        const QStringList lines = schedule::schedulesCommand(
            main, monitor, clock, schedule::siteFromConfig(store::loadConfigSettings(main)), day);
        for (const QString& line : lines) printLine(stdout, line);
        main.close();
    } catch (const store::StoreError& e) {
        return failure(QString::fromUtf8(e.what()));
    }
    return 0;
}

}  // namespace

bool isReportCommand(const QStringList& arguments) {
    return arguments.size() > 1 &&
           (arguments[1] == QLatin1String("energy-report") || arguments[1] == QLatin1String("schedules"));
}

int runReportCommand(const QStringList& arguments) {
    return arguments[1] == QLatin1String("schedules") ? schedules(arguments) : energyReport(arguments);
}

}  // namespace qv::shell
