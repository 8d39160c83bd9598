#include "shell/instance_lock.h"

#include <QDir>

namespace qv::shell {

const QString InstanceLock::kAlreadyRunningText =
    QStringLiteral("Quorvel is already running on this computer, you can not run two sessions");

bool InstanceLock::acquire(const QString& dataDir) {
    m_lock = std::make_unique<QLockFile>(QDir(dataDir).filePath(QStringLiteral("quorvel.lock")));
    // Never stale by age: a running copy holds it for months. A dead copy's
    // lock is recognised by its process id.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) return true;
    m_lock.reset();
    return false;
}

void InstanceLock::release() {
    if (m_lock) m_lock->unlock();
    m_lock.reset();
}

}  // namespace qv::shell
