#include "platform/host_addresses.h"

#include <QFile>
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

QStringList HostNameAddresses() {
    char hostName[256] = {};
    if (gethostname(hostName, sizeof hostName - 1) != 0)
        return {};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(hostName, nullptr, &hints, &found) != 0)
        return {};
    QStringList addresses;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr)
            addresses.append(QString::fromLatin1(text));
    }
    freeaddrinfo(found);
    return addresses;
}

namespace {

constexpr quint32 kRouteUp = 0x0001;
constexpr quint32 kRouteReject = 0x0200;

// The fields of each line after the heading of a table in /proc/net; empty when unreadable.
std::optional<QList<QList<QByteArray>>> RouteTable(const char* path, bool hasHeading) {
    QFile table(QString::fromLatin1(path));
    if (!table.open(QIODevice::ReadOnly))
        return std::nullopt;
    QList<QList<QByteArray>> rows;
    const QList<QByteArray> lines = table.readAll().split('\n');
    for (qsizetype i = hasHeading ? 1 : 0; i < lines.size(); ++i) {
        if (!lines.at(i).trimmed().isEmpty())
            rows.append(lines.at(i).simplified().split(' '));
    }
    return rows;
}

bool Usable(const QByteArray& hexFlags) {
    const quint32 flags = hexFlags.toUInt(nullptr, 16);
    return (flags & kRouteUp) != 0 && (flags & kRouteReject) == 0;
}

} // namespace

std::optional<bool> HasDefaultRoute() {
    const auto ipv4 = RouteTable("/proc/net/route", true);
    const auto ipv6 = RouteTable("/proc/net/ipv6_route", false);
    if (!ipv4 && !ipv6)
        return std::nullopt;
    // Iface Destination Gateway Flags RefCnt Use Metric Mask …
    for (const QList<QByteArray>& row : ipv4.value_or(QList<QList<QByteArray>>())) {
        if (row.size() > 7 && row.at(1).toUInt(nullptr, 16) == 0 &&
            row.at(7).toUInt(nullptr, 16) == 0 && Usable(row.at(3)))
            return true;
    }
    // Destination, its prefix length, source, its prefix length, next hop, metric, reference
    // count, use, flags, device.
    for (const QList<QByteArray>& row : ipv6.value_or(QList<QList<QByteArray>>())) {
        if (row.size() > 9 && row.at(1) == "00" && row.at(0).count('0') == row.at(0).size() &&
            Usable(row.at(8)))
            return true;
    }
    return false;
}
