#pragma once
// Only one copy of the program may run on a data directory: two would fight
// over the serial port and the databases.

#include <QLockFile>
#include <QString>

#include <memory>

namespace qv::shell {

class InstanceLock {
public:
    static const QString kAlreadyRunningText;

    // Takes the lock file in dataDir. False when another live copy holds it;
    // a lock left by a copy that died is taken over.
    bool acquire(const QString& dataDir);
    void release();

private:
    std::unique_ptr<QLockFile> m_lock;
};

}  // namespace qv::shell
