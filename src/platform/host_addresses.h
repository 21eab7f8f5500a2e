#pragma once

#include <QStringList>

// The IPv4 addresses that this machine's own host name resolves to, in the resolver's order, as
// dotted text; empty when the name does not resolve.
QStringList HostNameAddresses();
