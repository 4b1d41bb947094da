#pragma once

#include <QHostAddress>
#include <QStringList>

// The addresses to type on a phone for a server listening on address and port: its own when it
// is a single one, else each IPv4 address of the interfaces that are up, loopback last.
QStringList webAddresses(const QHostAddress& address, quint16 port);
