#include "common/gbk_text.h"
#include "platform/url_parts.h"
#include "upgrade/au_utils.h"

#include <cstring>
#include <utility>

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

// The parts of an address in the code page of addresses; one without a scheme is a web address.
std::optional<TUrlParts> SplitURL(QString url) {
    if (!url.contains(QLatin1String("://")))
        url.prepend(QLatin1String("http://"));
    std::optional<TUrlParts> parts = SplitUrl(ToGbk(url));
    if (!parts || !Fits(*parts))
        return std::nullopt;
    return parts;
}

// In ASCII whatever the locale: a byte of a multibyte character is never one of these.
bool IsAlphanumeric(char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9');
}

bool IsHexDigit(char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'f') ||
           (byte >= 'A' && byte <= 'F');
}

bool StartsEscape(const QByteArray& text, qsizetype at) {
    return text.at(at) == '%' && at + 2 < text.size() && IsHexDigit(text.at(at + 1)) &&
           IsHexDigit(text.at(at + 2));
}

} // namespace

bool CrackURL(QString url, QString& scheme, QString& hostName, QString& path, QString& userName,
              QString& password, QString& extraInfo, quint16& port) {
    const std::optional<TUrlParts> parts = SplitURL(std::move(url));
    if (!parts)
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

QByteArray URLRequestPath(const QString& url) {
    const std::optional<TUrlParts> parts = SplitURL(url);
    if (!parts)
        return {};
    if (parts->WrittenPath.isEmpty())
        return "/";
    // What a path may hold besides letters, digits and escapes.
    static constexpr char kKept[] = "/-._~!$&'()*+,;=:@";
    const QByteArray& path = parts->WrittenPath;
    QByteArray fit;
    for (qsizetype at = 0; at < path.size(); ++at) {
        const char byte = path.at(at);
        if (IsAlphanumeric(byte) || (byte != 0 && std::strchr(kKept, byte) != nullptr) ||
            StartsEscape(path, at))
            fit += byte;
        else
            fit += '%' + QByteArray(1, byte).toHex().toUpper();
    }
    return fit;
}
