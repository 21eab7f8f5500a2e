#pragma once

#include <QString>
#include <optional>

// The integers of version parts and date fields: decimal digits with an optional sign, within
// 32 signed bits; anything else is no number.
inline std::optional<int> ParseDecimal(const QString& text) {
    qsizetype at = 0;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative || text.startsWith(QLatin1Char('+')))
        at = 1;
    if (at >= text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; at < text.size(); ++at) {
        const QChar c = text.at(at);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > (negative ? 0x80000000LL : 0x7FFFFFFFLL))
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}
