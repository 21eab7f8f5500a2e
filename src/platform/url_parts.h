#pragma once

#include <QByteArray>
#include <optional>

// An address split by libcurl's URL parser, escape sequences decoded. Parts that the address
// does not have are empty; the port is the scheme's usual one when none is written (0 for a
// scheme without one).
struct TUrlParts {
    QByteArray Scheme;
    QByteArray Host;
    QByteArray User;
    QByteArray Password;
    QByteArray Path;
    // The path as the address writes it, its escape sequences kept.
    QByteArray WrittenPath;
    // "?query" and "#fragment" as they follow the path, each with its mark.
    QByteArray Extra;
    quint16 Port = 0;
};

// Empty when the text is no address the parser accepts. Any scheme is accepted.
std::optional<TUrlParts> SplitUrl(const QByteArray& url);
