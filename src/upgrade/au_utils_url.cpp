#include "common/gbk_text.h"
#include "platform/url_parts.h"
#include "upgrade/au_utils.h"

namespace {

// The parts' buffers of the system's URL cracker, terminating zero included: a longer part
// does not fit and the address is refused.
constexpr qsizetype kSchemeCapacity = 33;
constexpr qsizetype kHostCapacity = 257;
constexpr qsizetype kUserCapacity = 129;
constexpr qsizetype kPasswordCapacity = 129;
constexpr qsizetype kPathCapacity = 2049;
constexpr qsizetype kExtraCapacity = 2049;

bool Fits(const TUrlParts& parts) {
    return parts.Scheme.size() < kSchemeCapacity && parts.Host.size() < kHostCapacity &&
           parts.User.size() < kUserCapacity && parts.Password.size() < kPasswordCapacity &&
           parts.Path.size() < kPathCapacity && parts.Extra.size() < kExtraCapacity;
}

} // namespace

bool CrackURL(QString url, QString& scheme, QString& hostName, QString& path, QString& userName,
              QString& password, QString& extraInfo, quint16& port) {
    if (!url.contains(QLatin1String("://")))
        url.prepend(QLatin1String("http://"));
    const std::optional<TUrlParts> parts = SplitUrl(ToGbk(url));
    if (!parts || !Fits(*parts))
        return false;
    scheme = FromGbk(parts->Scheme);
    hostName = FromGbk(parts->Host);
    path = FromGbk(parts->Path);
    userName = FromGbk(parts->User);
    password = FromGbk(parts->Password);
    extraInfo = FromGbk(parts->Extra);
    port = parts->Port;
    return true;
}

QString HostFromURL(const QString& url) {
    QString scheme, hostName, path, userName, password, extraInfo;
    quint16 port = 0;
    CrackURL(url, scheme, hostName, path, userName, password, extraInfo, port);
    return hostName;
}

QString FileFromURL(const QString& url) {
    QString scheme, hostName, path, userName, password, extraInfo;
    quint16 port = 0;
    if (!CrackURL(url, scheme, hostName, path, userName, password, extraInfo, port))
        return {};
    return URLToFileName(path);
}
