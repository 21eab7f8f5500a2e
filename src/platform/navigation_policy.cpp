#include "platform/navigation_policy.h"

namespace {

bool IsWeb(const QUrl& url) {
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

int DefaultPort(const QUrl& url) {
    return url.scheme() == QLatin1String("https") ? 443 : 80;
}

bool IsOfSite(const QUrl& target, const QString& site) {
    const QUrl own(QStringLiteral("http://") + site);
    if (!own.isValid() || own.host().isEmpty())
        return false;
    // A site written without a port is its default one, whichever scheme the address uses.
    const int ownPort = own.port(DefaultPort(target));
    return target.host().compare(own.host(), Qt::CaseInsensitive) == 0 &&
           target.port(DefaultPort(target)) == ownPort;
}

} // namespace

TNavigationVerdict JudgeNavigation(const QUrl& target, const QString& site, bool userChose) {
    if (target == QUrl(QStringLiteral("about:blank")))
        return TNavigationVerdict::Allow;
    if (!IsWeb(target) || !target.isValid())
        return TNavigationVerdict::Refuse;
    if (IsOfSite(target, site))
        return TNavigationVerdict::Allow;
    return userChose ? TNavigationVerdict::OpenOutside : TNavigationVerdict::Refuse;
}
