#include "shell/debug_log.h"

#include <QDateTime>
#include <QDir>

#include <cstdio>

namespace qv::shell {

namespace {

QByteArray stamped(const QString& line) {
    return (QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + line +
            QLatin1Char('\n'))
        .toUtf8();
}

}  // namespace

bool DebugLog::open(const QString& dataDir) {
    m_file.setFileName(QDir(dataDir).filePath(QStringLiteral("debug.log")));
    if (!m_file.open(QIODevice::Append | QIODevice::Text)) return false;
    for (const QString& line : m_lines) m_file.write(stamped(line));
    m_file.flush();
    return true;
}

void DebugLog::AddDebug(const QString& line) {
    m_lines.append(line);
    if (m_file.isOpen()) {
        m_file.write(stamped(line));
        m_file.flush();
    }
    if (m_echo) {
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        std::fflush(stderr);
    }
    emit lineAdded(line);
}

}  // namespace qv::shell
