#pragma once
// The area status file, in place of the spreadsheet link window: a CSV file
// (status_sheet.h) that shows every area's preset and takes requests typed
// into its Request column.
//
// Every second the file is read (comparetimer: new requests are queued, one
// per area) and then written again when what it shows is out of date or a
// request cell must be cleared (Checkarraytimer). Every 50 ms one queued
// request is carried out (RequestsTimer): a preset 1..96 sets the area, any
// other text starts the macro of that name.
//
// The file is replaced whole (written aside, then renamed), and not at all
// when it changed after it was read, so an edit saved at that moment is read
// on the next pass instead of being overwritten.

#include "comms/monitor_writer.h"
#include "features/exchange/exchange_deps.h"
#include "features/exchange/sheet_requests.h"

#include <QByteArray>
#include <QObject>

#include <QString>
#include <memory>

namespace qv::exchange {

class StatusFile : public QObject {
    Q_OBJECT
public:
    static constexpr int kCheckMs = 1000;
    static constexpr int kRequestMs = 50;
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;

    StatusFile(ExchangeDeps deps, QString path, QObject* parent = nullptr);

    // "areastatus.csv" in the data directory.
    static QString defaultPath(const QString& dataDir);

    // Reads and writes the file at once, then starts the timers.
    void start();
    void stop();
    bool isRunning() const { return m_checkTimer->isActive(); }

    QString path() const { return m_path; }
    std::size_t pendingRequests() const { return m_requests.pending(); }

private:
    // One pass of each timer.
    void comparetimer();
    void Checkarraytimer();
    void RequestsTimer();

    // Enough to tell that the file was replaced or rewritten.
    struct Stamp {
        bool exists = false;
        qint64 size = 0;
        qint64 inode = 0;
        qint64 modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp stamp() const;
    enum class WriteOutcome { Written, EditedMeanwhile, Failed };
    WriteOutcome write(const QByteArray& content, QString* error);

    ExchangeDeps m_deps;
    comms::MonitorWriter m_monitorWriter;
    QString m_path;
    SheetRequests m_requests;
    std::unique_ptr<qv::Timer> m_checkTimer;
    std::unique_ptr<qv::Timer> m_requestsTimer;

    // What the last compare found in the file.
    QByteArray m_read;
    Stamp m_readStamp;
    bool m_readUsable = false;

    // Each trouble is reported once, not every second.
    QByteArray m_reportedProblems;
    Stamp m_reportedTooLarge;
    bool m_readFailing = false;
    bool m_writeFailing = false;
};

}  // namespace qv::exchange
