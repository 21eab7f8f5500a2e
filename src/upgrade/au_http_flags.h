#pragma once

#include "platform/internet_request.h"
#include "upgrade/au_http.h"

// The request flags of the system's HTTP layer, as the options name them.
namespace InternetFlag {
constexpr quint32 NeedFile = 0x00000010;
constexpr quint32 PragmaNoCache = 0x00000100;
constexpr quint32 Hyperlink = 0x00000400;
constexpr quint32 Resynchronize = 0x00000800;
constexpr quint32 IgnoreCertCnInvalid = 0x00001000;
constexpr quint32 IgnoreCertDateInvalid = 0x00002000;
constexpr quint32 IgnoreRedirectToHttps = 0x00004000;
constexpr quint32 IgnoreRedirectToHttp = 0x00008000;
constexpr quint32 CacheIfNetFail = 0x00010000;
constexpr quint32 NoAuth = 0x00040000;
constexpr quint32 NoCookies = 0x00080000;
constexpr quint32 NoAutoRedirect = 0x00200000;
constexpr quint32 KeepConnection = 0x00400000;
constexpr quint32 Secure = 0x00800000;
constexpr quint32 NoCacheWrite = 0x04000000;
constexpr quint32 Reload = 0x80000000;
} // namespace InternetFlag

quint32 RequestFlagsFor(const QString& scheme, TauCacheOptions cacheOptions,
                        TauInternetOptions internetOptions);

// How libcurl carries out a request with these flags: there is no local cache to reload or
// bypass, so the cache flags other than the no-cache ones have no effect. The certificate's
// date is checked with the rest of it.
TInternetRequestSettings RequestSettingsFor(quint32 flags, const QString& scheme,
                                            TauInternetOptions internetOptions,
                                            const TauHTTPProxy& proxy);
