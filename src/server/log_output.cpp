#include "server/log_output.h"

#include "server/logging.h"

#include <QDateTime>
#include <QLoggingCategory>

#include <cstdio>

namespace qv::server {

namespace {

void toStdout(QtMsgType type, const QMessageLogContext&, const QString& message) {
    const char* level = "";
    switch (type) {
        case QtDebugMsg:
            level = "debug: ";
            break;
        case QtWarningMsg:
            level = "warning: ";
            break;
        case QtCriticalMsg:
        case QtFatalMsg:
            level = "error: ";
            break;
        case QtInfoMsg:
            break;
    }
    const QByteArray line =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz ")).toUtf8() + level +
        message.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
    std::fflush(stdout);
}

}  // namespace

void installStdoutLogging(bool verbose) {
    qInstallMessageHandler(toStdout);
    QLoggingCategory::setFilterRules(QStringLiteral("quorvel.*.debug=%1\nquorvel.*.info=true")
                                         .arg(verbose ? QStringLiteral("true") : QStringLiteral("false")));
}

void LogMonitor::MonitorAdditem(const store::MonitorRecord& record) {
    const bool heard = !record.RS232.isEmpty();
    if (heard && !m_verbose) return;
    QString line = record.MsgType + QStringLiteral(": ");
    if (heard) line += record.RS232 + QStringLiteral(" ");
    line += record.comment;
    if (record.MsgType.startsWith(QLatin1String("ERROR")) ||
        record.MsgType.startsWith(QLatin1String("Warning")))
        qCWarning(lcRelay).noquote() << line;
    else
        qCInfo(lcRelay).noquote() << line;
}

}  // namespace qv::server
