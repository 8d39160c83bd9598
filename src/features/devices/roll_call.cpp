#include "features/devices/roll_call.h"

#include "features/devices/logging.h"
#include "features/devices/roll_call_name.h"
#include "features/devices/roll_call_results.h"
#include "net/builders.h"
#include "net/message.h"

#include <algorithm>
#include <set>

namespace qv::devices {

namespace {

// The device code as sent: exactly two hex digits.
std::optional<int> deviceCodeByte(const QString& text) {
    if (text.size() != 2) return std::nullopt;
    const int high = net::hexDigitValue(static_cast<char>(text[0].toLatin1()));
    const int low = net::hexDigitValue(static_cast<char>(text[1].toLatin1()));
    if (high < 0 || low < 0) return std::nullopt;
    return high * 16 + low;
}

QString hexText(int value) {
    return QString::fromStdString(net::hexDigits(static_cast<unsigned>(value)));
}

}  // namespace

RollCallRunner::RollCallRunner(store::Database& main, store::DataPaths paths, store::MonitorSink& monitor,
                               const qv::Clock& clock, SendRS232 send, macros::MacroRunner& macros,
                               SendMail sendMail, QObject* parent)
    : QObject(parent),
      m_main(main),
      m_paths(std::move(paths)),
      m_monitorWriter(monitor, clock, lcDevices),
      m_clock(clock),
      m_send(std::move(send)),
      m_macros(macros),
      m_sendMail(std::move(sendMail)),
      m_timer(clock.createTimer(0, [this] { RollcallTimer(); })) {}

RollCallRunner::~RollCallRunner() {
    stop();
}

QString RollCallRunner::resultsPath(const QString& name) const {
    return rollCallResultsPath(m_paths, name);
}

bool RollCallRunner::isRunning() const {
    return m_timer->isActive();
}

store::Outcome RollCallRunner::RollCall(const QString& name) {
    if (const std::optional<QString> problem = rollCallNameProblem(name)) {
        m_monitorWriter.error(*problem);
        return store::Outcome::refused(*problem);
    }
    // Copying the template again would wipe the answers already recorded.
    if (m_names.contains(name, Qt::CaseInsensitive)) {
        const QString text = QStringLiteral("The roll call \"%1\" is already running").arg(name);
        m_monitorWriter.warning(text);
        return store::Outcome::refused(text);
    }

    std::vector<RollCallMember> members;
    try {
        bool templateMissing = false;
        store::Database results = createResultsFile(m_paths, resultsPath(name), &templateMissing);
        if (templateMissing)
            m_monitorWriter.warning(
                QStringLiteral("%1 was not found: the results of \"%2\" go to a blank file")
                    .arg(m_paths.rollCallTemplate(), name));
        members = readRollCallMembers(m_main, name);
        writeResultsRows(results, members);
        if (!members.empty()) m_results.emplace(name, std::move(results));
    } catch (const std::exception& error) {
        const QString text = QStringLiteral("The roll call \"%1\" cannot be run: %2")
                                 .arg(name, QString::fromUtf8(error.what()));
        m_monitorWriter.error(text);
        return store::Outcome::refused(text);
    }

    if (!members.empty()) {
        m_names.append(name);
        std::vector<RollCallProgressModel::Row> rows;
        rows.reserve(members.size());
        // The grid keeps the name the run was started with: it names the results file.
        for (const RollCallMember& m : members)
            rows.push_back({name, m.device, m.deviceCode, m.box, kTries, {}});
        m_grid.append(rows);
    }
    if (!m_timer->isActive()) m_timer->start(kTickMs);
    emit started(name);
    return store::Outcome::done();
}

void RollCallRunner::RollcallTimer() {
    const int count = m_grid.rowCount();
    if (count == 0) {
        m_timer->stop();
        closeRun();
        return;
    }
    const auto& rows = m_grid.rows();
    const bool anyToAsk = std::any_of(
        rows.begin(), rows.end(), [](const auto& row) { return row.version.isEmpty() && row.triesLeft > 0; });
    if (!anyToAsk) {
        m_timer->stop();
        RollcallActions();
        return;
    }
    int r = m_rowPointer;
    if (r > count) r = 0;
    if (r == 0) r = 1;
    const RollCallProgressModel::Row& row = m_grid.row(r - 1);
    if (row.version.isEmpty() && row.triesLeft > 0) ask(r - 1);
    m_rowPointer = r + 1;
}

void RollCallRunner::ask(int i) {
    RollCallProgressModel::Row& row = m_grid.row(i);
    --row.triesLeft;
    m_grid.rowChanged(i);
    const std::optional<int> code = deviceCodeByte(row.deviceCode);
    const auto request = code ? net::RollCallVersionRequest(*code, row.box) : std::nullopt;
    if (!request) {
        // Said on the first try only; the box ends as not responded.
        if (row.triesLeft == kTries - 1)
            m_monitorWriter.warning(
                QStringLiteral("Roll call \"%1\": box %2 cannot be asked, its device code \"%3\" is "
                               "not two hex digits or the box is not 0-255")
                    .arg(row.rollCallName, QString::number(row.box), row.deviceCode));
        return;
    }
    m_send(*request);
}

void RollCallRunner::Response(int deviceCode, int box, int major, int minor) {
    // The code is compared as hex text without a leading zero, so a code
    // stored as "0A" never matches.
    const QString code = hexText(deviceCode);
    const QString version = hexText(major) + QLatin1Char('.') + hexText(minor);
    std::set<QString> updated;
    for (int i = 0; i < m_grid.rowCount(); ++i) {
        RollCallProgressModel::Row& row = m_grid.row(i);
        if (row.deviceCode != code || row.box != box) continue;
        row.version = version;
        m_grid.rowChanged(i);
        if (!updated.insert(row.rollCallName).second) continue;
        auto results = m_results.find(row.rollCallName);
        if (results == m_results.end()) continue;
        try {
            markResponded(results->second, code, box, version, m_clock.now());
        } catch (const std::exception& error) {
            m_monitorWriter.error(
                QStringLiteral("Roll call \"%1\": the answer of box %2 could not be recorded: %3")
                    .arg(row.rollCallName, QString::number(box), QString::fromUtf8(error.what())));
        }
    }
}

void RollCallRunner::RollcallActions() {
    const QStringList names = m_names;
    for (const QString& name : names) {
        int silent = 0;
        std::optional<RollCallActionsRow> actions;
        try {
            auto results = m_results.find(name);
            if (results != m_results.end()) silent = countNotResponded(results->second);
            actions = readRollCallActions(m_main, name);
        } catch (const std::exception& error) {
            m_monitorWriter.error(QStringLiteral("Roll call \"%1\": its actions could not be read: %2")
                                      .arg(name, QString::fromUtf8(error.what())));
            continue;
        }
        // The file is complete before it travels as an attachment.
        m_results.erase(name);
        m_monitorWriter.system(QStringLiteral("Roll call \"%1\" finished: %2 boxes did not respond")
                                   .arg(name, QString::number(silent)));
        if (!actions || silent == 0) continue;
        if (!actions->emailRecipients.trimmed().isEmpty() && m_sendMail) {
            m_sendMail(actions->emailRecipients,
                       QStringLiteral("%1 had %2 boxes not respond").arg(name, QString::number(silent)),
                       QString(), resultsPath(name));
        }
        if (!actions->MacrotoRun.trimmed().isEmpty()) m_macros.RunMacro(actions->MacrotoRun);
    }
    closeRun();
}

void RollCallRunner::closeRun() {
    m_results.clear();
    m_names.clear();
    m_grid.clear();
    m_rowPointer = 0;
    emit finished();
}

void RollCallRunner::stop() {
    m_timer->stop();
    m_results.clear();
}

}  // namespace qv::devices
