#pragma once
// The machine's IPv4 addresses, for the server link's local address.

#include <QString>
#include <QStringList>

namespace qv::comms {

// The IPv4 addresses a host name resolves to, each as four decimal numbers
// joined by "."; empty for a name that does not resolve. Blocks while the
// name is looked up: meant for the configuration window, not the engine.
QStringList GetAllIPAddress(const QString& hostName);

// The IPv4 addresses of this machine's interfaces that are up, loopback last.
// A better offer for the local-address choice than the host-name lookup,
// which on many systems returns only a loopback alias.
QStringList localIPv4Addresses();

// The address a socket reports as its own when none is asked for: the first
// non-loopback IPv4 address of an interface that is up, else 127.0.0.1.
QString defaultLocalAddress();

}  // namespace qv::comms
