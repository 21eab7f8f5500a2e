#include "platform/url_parts.h"

#include <curl/curl.h>
#include <memory>

namespace {

using TUrlHandle = std::unique_ptr<CURLU, decltype(&curl_url_cleanup)>;

QByteArray Part(CURLU* url, CURLUPart part, unsigned int flags = CURLU_URLDECODE) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, flags) != CURLUE_OK || text == nullptr)
        return {};
    QByteArray value(text);
    curl_free(text);
    return value;
}

} // namespace

std::optional<TUrlParts> SplitUrl(const QByteArray& url) {
    const TUrlHandle handle(curl_url(), &curl_url_cleanup);
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.constData(),
                                CURLU_NON_SUPPORT_SCHEME | CURLU_ALLOW_SPACE) != CURLUE_OK)
        return std::nullopt;
    TUrlParts parts;
    parts.Scheme = Part(handle.get(), CURLUPART_SCHEME, 0);
    parts.Host = Part(handle.get(), CURLUPART_HOST);
    parts.User = Part(handle.get(), CURLUPART_USER);
    parts.Password = Part(handle.get(), CURLUPART_PASSWORD);
    parts.Path = Part(handle.get(), CURLUPART_PATH);
    parts.WrittenPath = Part(handle.get(), CURLUPART_PATH, 0);
    const QByteArray query = Part(handle.get(), CURLUPART_QUERY);
    const QByteArray fragment = Part(handle.get(), CURLUPART_FRAGMENT);
    if (!query.isEmpty())
        parts.Extra += '?' + query;
    if (!fragment.isEmpty())
        parts.Extra += '#' + fragment;
    parts.Port =
        static_cast<quint16>(Part(handle.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT).toUInt());
    return parts;
}
