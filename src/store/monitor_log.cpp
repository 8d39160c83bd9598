#include "store/monitor_log.h"

#include "store/date_text.h"
#include "store/log.h"
#include "store/monitor_readback.h"
#include "store/store_error.h"

#include <algorithm>

namespace qv::store {

QString MonitorLogReset::question() {
    return QStringLiteral(
               "You are about to delete all records in the Monitor Log. Before doing this, is is recommended "
               "that you back this file up if you haven't already") +
           QStringLiteral("\n\n") + QStringLiteral("Are you sure you want to delete the log?");
}

QString MonitorLogReset::done() {
    return QStringLiteral("All records Deleted in Monitor Log file..");
}

MonitorLog::MonitorLog(MonitorLogDeps deps, QObject* parent)
    : QObject(parent),
      m_deps(std::move(deps)),
      m_names(m_deps.names),
      m_writer(m_deps.logPath, m_deps.clock) {
    connect(&m_writer, &MonitorLogWriter::writeFailed, this, [this](const QString& reason) {
        MonitorAdditem(ownRecord(MonitorType::Error,
                                 QStringLiteral("The monitor log can not be written; records are kept and "
                                                "written when it can be: %1")
                                     .arg(reason)));
    });
    connect(&m_writer, &MonitorLogWriter::writeRecovered, this, [this](quint64 dropped) {
        QString comment = QStringLiteral("The monitor log is written again");
        if (dropped > 0)
            comment += QStringLiteral("; %1 records could not be kept and are missing from it").arg(dropped);
        MonitorAdditem(ownRecord(MonitorType::Warning, comment));
    });
}

MonitorLog::~MonitorLog() {
    m_writer.close();
    // The writer outlives this body; a report it makes while it goes must not
    // reach the list and sinks, which go before it.
    disconnect(&m_writer, nullptr, this, nullptr);
}

void MonitorLog::addSink(MonitorSink* sink) {
    if (sink && sink != this && std::find(m_sinks.begin(), m_sinks.end(), sink) == m_sinks.end())
        m_sinks.push_back(sink);
}

void MonitorLog::MonitorAdditem(const MonitorRecord& record) {
    m_model.addRecord(record);
    if (m_loggingEnabled) m_writer.append(eventLogRow(record, m_names));
    for (MonitorSink* sink : m_sinks) sink->MonitorAdditem(record);
}

int MonitorLog::loadPreviousSessions(int LoadFromMonitorLog, const std::function<void(int)>& progress) {
    std::vector<MonitorRecord> records;
    QString failure;
    try {
        // Anything already waiting belongs after the earlier sessions.
        m_writer.flush();
        records = readLastRecords(m_writer.database(), LoadFromMonitorLog);
    } catch (const StoreError& error) {
        failure = QString::fromUtf8(error.what());
    }
    const std::size_t total = records.size();
    int lastPercent = -1;
    for (std::size_t i = 0; i < total; ++i) {
        // Into the list only: these records are in the log already.
        m_model.addRecord(records[i]);
        const int percent = static_cast<int>((i + 1) * 100 / total);
        if (progress && percent != lastPercent) {
            lastPercent = percent;
            progress(percent);
        }
    }
    if (!failure.isEmpty()) {
        qCWarning(lcStore) << "reading back the monitor log:" << failure;
        m_model.addRecord(ownRecord(
            MonitorType::Error,
            QStringLiteral("The records of previous sessions could not be read from the monitor log: %1")
                .arg(failure)));
    }
    m_model.addSeparatorRows();
    return static_cast<int>(total);
}

ResetOutcome MonitorLog::resetLog() {
    try {
        m_writer.deleteAllRecords();
    } catch (const StoreError& error) {
        return {false, QStringLiteral("The records of the Monitor Log could not be deleted: %1")
                           .arg(QString::fromUtf8(error.what()))};
    }
    return {true, MonitorLogReset::done()};
}

MonitorRecord MonitorLog::ownRecord(MonitorType type, const QString& comment) const {
    return monitorRecord(type, m_deps.clock.nowText(), comment);
}

}  // namespace qv::store
