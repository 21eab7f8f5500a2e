#pragma once

#include <QStringList>
#include <optional>

// The IPv4 addresses that this machine's own host name resolves to, in the resolver's order, as
// dotted text; empty when the name does not resolve.
QStringList HostNameAddresses();

// Whether the kernel's routing tables (IPv4 and IPv6) hold a usable default route: the machine
// has a way out to a network. Empty when neither table can be read.
std::optional<bool> HasDefaultRoute();
