#include "features/exchange/status_file.h"

#include "features/exchange/logging.h"
#include "features/exchange/status_sheet.h"
#include "net/builders.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <sys/stat.h>

namespace qv::exchange {

namespace {

constexpr int kProblemsShown = 3;

QString problemSummary(const QStringList& problems) {
    QString text = problems.mid(0, kProblemsShown).join(QStringLiteral("; "));
    if (problems.size() > kProblemsShown)
        text += QStringLiteral("; and %1 more").arg(problems.size() - kProblemsShown);
    return text;
}

}  // namespace

StatusFile::StatusFile(ExchangeDeps deps, QString path, QObject* parent)
    : QObject(parent),
      m_deps(std::move(deps)),
      m_monitorWriter(m_deps.monitor, m_deps.clock),
      m_path(std::move(path)),
      m_checkTimer(m_deps.clock.createTimer(kCheckMs,
                                            [this] {
                                                comparetimer();
                                                Checkarraytimer();
                                            })),
      m_requestsTimer(m_deps.clock.createTimer(kRequestMs, [this] { RequestsTimer(); })) {}

QString StatusFile::defaultPath(const QString& dataDir) {
    return QDir(dataDir).filePath(QStringLiteral("areastatus.csv"));
}

void StatusFile::start() {
    comparetimer();
    Checkarraytimer();
    m_checkTimer->start();
    m_requestsTimer->start();
    qCInfo(lcExchange) << "area status file" << m_path;
}

void StatusFile::stop() {
    m_checkTimer->stop();
    m_requestsTimer->stop();
}

StatusFile::Stamp StatusFile::stamp() const {
    struct stat info {};
    if (::stat(QFile::encodeName(m_path).constData(), &info) != 0) return {};
    return Stamp{true, static_cast<qint64>(info.st_size), static_cast<qint64>(info.st_ino),
                 static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

void StatusFile::comparetimer() {
    m_readStamp = stamp();
    m_read.clear();
    m_readUsable = false;
    SheetRead cells;

    if (!m_readStamp.exists) {
        m_readFailing = false;
    } else if (m_readStamp.size > kMaxFileBytes) {
        if (!(m_reportedTooLarge == m_readStamp)) {
            m_reportedTooLarge = m_readStamp;
            m_monitorWriter.warning(
                QStringLiteral("The area status file %1 is larger than 1 MiB: it was not read and is "
                               "written afresh")
                    .arg(m_path));
        }
    } else {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly)) {
            if (!m_readFailing)
                m_monitorWriter.error(QStringLiteral("The area status file %1 could not be read: %2")
                                          .arg(m_path, file.errorString()));
            m_readFailing = true;
            // Requests cannot be seen; the cells already taken stay taken.
            return;
        }
        m_readFailing = false;
        m_read = file.read(kMaxFileBytes + 1);
        m_readUsable = true;
        cells = readStatusSheet(m_read);
        if (!cells.problems.isEmpty() && m_read != m_reportedProblems) {
            m_reportedProblems = m_read;
            m_monitorWriter.warning(
                QStringLiteral("The area status file %1 has rows that could not be used (they are "
                               "written afresh): %2")
                    .arg(m_path, problemSummary(cells.problems)));
        }
    }

    for (const int area : m_requests.compare(cells.requests))
        m_monitorWriter.warning(
            QStringLiteral("The request for area %1 in the area status file is longer than %2 characters "
                           "and was not carried out")
                .arg(area)
                .arg(SheetRequests::kMaxRequestChars));
}

void StatusFile::Checkarraytimer() {
    const QByteArray content = formatStatusSheet(m_deps.areaState);
    if (m_readFailing) return;  // never replace a file whose requests could not be seen
    if (m_readUsable && m_read == content) return;
    // Changed since it was read: an edit may be in it, so it is read first.
    if (!(stamp() == m_readStamp)) return;

    QString error;
    const WriteOutcome outcome = write(content, &error);
    if (outcome == WriteOutcome::EditedMeanwhile) return;
    if (outcome == WriteOutcome::Failed) {
        if (!m_writeFailing)
            m_monitorWriter.error(
                QStringLiteral("The area status file %1 could not be written: %2").arg(m_path, error));
        m_writeFailing = true;
        return;
    }
    m_writeFailing = false;
    m_read = content;
    m_readStamp = stamp();
    m_readUsable = true;
}

StatusFile::WriteOutcome StatusFile::write(const QByteArray& content, QString* error) {
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return WriteOutcome::Failed;
    }
    if (file.write(content) != content.size()) {
        *error = file.errorString();
        file.cancelWriting();
        return WriteOutcome::Failed;
    }
    // Last look before the rename: an edit saved while we wrote wins.
    if (!(stamp() == m_readStamp)) {
        file.cancelWriting();
        return WriteOutcome::EditedMeanwhile;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Written;
}

void StatusFile::RequestsTimer() {
    const std::optional<AreaRequest> next = m_requests.takeNext();
    if (!next) return;
    if (const std::optional<int> preset = SheetRequests::presetOf(next->request)) {
        if (const auto message = net::GoAreaPreset(next->area, *preset)) m_deps.sendRS232(*message);
        return;
    }
    m_deps.runner.RunMacro(next->request);
}

}  // namespace qv::exchange
