#include "sim/device_link.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace qv::sim {

namespace {

QString errorText(int errorNumber, const QString& path) {
    return QStringLiteral("cannot create a link at %1: %2")
        .arg(path, QString::fromLocal8Bit(std::strerror(errorNumber)));
}

}  // namespace

bool DeviceLink::create(const QString& path, const QString& target, QString* error) {
    remove();
    const QByteArray pathBytes = QFile::encodeName(path);
    struct stat info {};
    if (::lstat(pathBytes.constData(), &info) == 0 && !S_ISLNK(info.st_mode)) {
        *error = QStringLiteral("%1 exists and is not a symbolic link; not replacing it").arg(path);
        return false;
    }
    // Made under a temporary name and renamed over the old one, so a client
    // never finds the name missing or half made.
    const QByteArray temporary = pathBytes + ".quorvel-sim." + QByteArray::number(::getpid());
    ::unlink(temporary.constData());
    if (::symlink(QFile::encodeName(target).constData(), temporary.constData()) != 0) {
        *error = errorText(errno, path);
        return false;
    }
    if (::rename(temporary.constData(), pathBytes.constData()) != 0) {
        *error = errorText(errno, path);
        ::unlink(temporary.constData());
        return false;
    }
    m_path = path;
    m_target = target;
    return true;
}

void DeviceLink::remove() {
    if (m_path.isEmpty()) return;
    const QByteArray pathBytes = QFile::encodeName(m_path);
    char buffer[4096];
    const ssize_t length = ::readlink(pathBytes.constData(), buffer, sizeof buffer);
    if (length >= 0 && QByteArray(buffer, length) == QFile::encodeName(m_target))
        ::unlink(pathBytes.constData());
    m_path.clear();
    m_target.clear();
}

}  // namespace qv::sim
