#pragma once
// The debug list: plain lines from start-up and maintenance ("###" lines
// mark failures). Kept in debug.log in the data directory, echoed to
// standard error on request, and offered to the windows as a signal.

#include <QFile>
#include <QObject>
#include <QStringList>

namespace qv::shell {

class DebugLog : public QObject {
    Q_OBJECT
public:
    explicit DebugLog(QObject* parent = nullptr) : QObject(parent) {}

    // Opens (appends to) debug.log in dataDir; lines added before are kept and written then.
    bool open(const QString& dataDir);
    void setEcho(bool toStandardError) { m_echo = toStandardError; }

    void AddDebug(const QString& line);
    const QStringList& lines() const { return m_lines; }

signals:
    void lineAdded(const QString& line);

private:
    QFile m_file;
    QStringList m_lines;
    bool m_echo = false;
};

}  // namespace qv::shell
