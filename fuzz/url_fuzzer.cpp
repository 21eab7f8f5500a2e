// The addresses of an information file (and of the information file itself) as the transfer
// cracks them into parts, and the file name a download is kept under.
#include "common/gbk_text.h"
#include "support/require.h"
#include "upgrade/au_utils.h"

#include <QString>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString url = FromGbk(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QString scheme, host, path, user, password, extra;
    quint16 port = 0;
    if (CrackURL(url, scheme, host, path, user, password, extra, port)) {
        Require(!scheme.isEmpty(), "a cracked address has a scheme");
        Require(HostFromURL(url) == host, "the host alone is the cracked host");
    } else {
        Require(HostFromURL(url).isEmpty() && FileFromURL(url).isEmpty(),
                "an address that cannot be cracked has no host and no file");
    }
    const QString file = FileFromURL(url);
    Require(!file.contains(QLatin1Char('/')) && !file.contains(QLatin1Char('\\')),
            "a download's file name names no folder");

    const QString encoded = EncodeURLExtra(url);
    for (const QChar c : encoded)
        Require(c.unicode() > 32 && c.unicode() < 128 && QStringLiteral("#*+<>").indexOf(c) < 0,
                "an encoded query holds printable ASCII only, its special characters escaped");
    return 0;
}
