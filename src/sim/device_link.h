#pragma once
// A symbolic link with a fixed name to the pseudo-terminal, whose own name
// changes from run to run, so that configurations and tests can name one
// path.

#include <QString>

namespace qv::sim {

class DeviceLink {
public:
    DeviceLink() = default;
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;
    ~DeviceLink() { remove(); }

    // Points path at target. A symbolic link already there is left from an
    // earlier run and is replaced; anything else at path is refused, since it
    // is not ours to delete.
    bool create(const QString& path, const QString& target, QString* error);

    // Removes the link if it still points at our target: another simulator
    // may have taken the name over since.
    void remove();

    const QString& path() const { return m_path; }

private:
    QString m_path;
    QString m_target;
};

}  // namespace qv::sim
