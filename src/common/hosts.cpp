#include "common/hosts.h"

#include <QByteArray>

namespace {

QString HostFromEnvironment(const char* variable, const char* fallback) {
    const QByteArray value = qgetenv(variable).trimmed();
    return value.isEmpty() ? QString::fromLatin1(fallback) : QString::fromLocal8Bit(value);
}

} // namespace

QString CatalogueHost() {
    return HostFromEnvironment("PEBBLO_CATALOGUE_HOST", "game.pebblo.example");
}

QString VendorHost() {
    return HostFromEnvironment("PEBBLO_VENDOR_HOST", kVendorWebDomain);
}
