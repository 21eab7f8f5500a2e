#pragma once

#include <QString>

// The catalogue server and the vendor's web site. The defaults lie under the reserved .example
// domain; the demo and the tests point the client elsewhere through the environment
// (PEBBLO_CATALOGUE_HOST, PEBBLO_VENDOR_HOST: a host or host:port).
QString CatalogueHost();
QString VendorHost();

// The vendor's own web domain, as the client names itself to servers.
inline constexpr char kVendorWebDomain[] = "www.pebblo.example";
