#include "upgrade/au_http_flags.h"

#include <array>

namespace {

template <typename Option, size_t Count>
quint32 FlagsOf(TauSet<Option> options,
                const std::array<std::pair<Option, quint32>, Count>& table) {
    quint32 flags = 0;
    for (const auto& [option, flag] : table)
        if (options.Has(option))
            flags |= flag;
    return flags;
}

QByteArray BypassList(const QString& bypass) {
    QStringList hosts;
    for (const QString& host : bypass.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!host.trimmed().isEmpty())
            hosts.append(host.trimmed());
    return hosts.join(QLatin1Char(',')).toLatin1();
}

} // namespace

quint32 RequestFlagsFor(const QString& scheme, TauCacheOptions cacheOptions,
                        TauInternetOptions internetOptions) {
    static constexpr std::array<std::pair<TauCacheOption, quint32>, 6> kCacheFlags{{
        {coAlwaysReload, InternetFlag::Reload},
        {coReloadIfNoExpireInformation, InternetFlag::Hyperlink},
        {coReloadUpdatedObjects, InternetFlag::Resynchronize},
        {coPragmaNoCache, InternetFlag::PragmaNoCache},
        {coNoCacheWrite, InternetFlag::NoCacheWrite},
        {coUseCacheIfNetFail, InternetFlag::CacheIfNetFail},
    }};
    // Unknown certificate authorities are allowed by a request option instead of a flag.
    static constexpr std::array<std::pair<TauInternetOption, quint32>, 8> kInternetFlags{{
        {ioIgnoreCertificateInvalid, InternetFlag::IgnoreCertCnInvalid},
        {ioIgnoreCertificateDateInvalid, InternetFlag::IgnoreCertDateInvalid},
        {ioIgnoreRedirectToHTTP, InternetFlag::IgnoreRedirectToHttp},
        {ioIgnoreRedirectToHTTPS, InternetFlag::IgnoreRedirectToHttps},
        {ioKeepConnection, InternetFlag::KeepConnection},
        {ioNoAuthentication, InternetFlag::NoAuth},
        {ioNoAutoRedirect, InternetFlag::NoAutoRedirect},
        {ioNoCookies, InternetFlag::NoCookies},
    }};
    quint32 flags = FlagsOf(cacheOptions, kCacheFlags) | FlagsOf(internetOptions, kInternetFlags);
    if (scheme == QLatin1String("https"))
        flags |= InternetFlag::Secure;
    else if (cacheOptions.Has(coCreateTempFilesIfCantCache))
        flags |= InternetFlag::NeedFile;
    return flags;
}

TInternetRequestSettings RequestSettingsFor(quint32 flags, const QString& scheme,
                                            TauInternetOptions internetOptions,
                                            const TauHTTPProxy& proxy) {
    TInternetRequestSettings settings;
    settings.NoCache = (flags & (InternetFlag::Reload | InternetFlag::PragmaNoCache)) != 0;
    settings.FollowRedirects = (flags & InternetFlag::NoAutoRedirect) == 0;
    // A redirection to the other scheme is followed only when its flag allows it.
    const bool secure = scheme == QLatin1String("https");
    const bool otherSchemeAllowed = (flags & (secure ? InternetFlag::IgnoreRedirectToHttp
                                                     : InternetFlag::IgnoreRedirectToHttps)) != 0;
    settings.RedirectSchemes = secure ? "https" : "http";
    if (otherSchemeAllowed)
        settings.RedirectSchemes += secure ? ",http" : ",https";
    settings.VerifyHost = (flags & InternetFlag::IgnoreCertCnInvalid) == 0;
    settings.VerifyPeer = !internetOptions.Has(ioIgnoreUnknownCertificateAuthority);
    settings.Cookies = (flags & InternetFlag::NoCookies) == 0;
    settings.KeepAlive = (flags & InternetFlag::KeepConnection) != 0;
    settings.Authenticate = (flags & InternetFlag::NoAuth) == 0;
    switch (proxy.AccessType) {
    case atPreconfig:
        settings.ProxyMode = TInternetRequestSettings::TProxyMode::System;
        break;
    case atDirect:
        settings.ProxyMode = TInternetRequestSettings::TProxyMode::Direct;
        break;
    case atUseProxy:
        settings.ProxyMode = TInternetRequestSettings::TProxyMode::Named;
        settings.ProxyServer =
            (proxy.ProxyServer + QLatin1Char(':') + QString::number(proxy.ProxyPort)).toLatin1();
        settings.ProxyBypass = BypassList(proxy.ProxyBypass);
        break;
    }
    return settings;
}
