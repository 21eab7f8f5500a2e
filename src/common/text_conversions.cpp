#include "common/text_conversions.h"

#include "common/failure.h"

#include <optional>

namespace {

std::optional<qint64> DigitValue(QChar c, int base) {
    // Only ASCII digits: full-width digits from GBK text are not numbers here.
    const int digit = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c.unicode() - '0'
                      : (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'))
                          ? c.toLower().unicode() - 'a' + 10
                          : -1;
    if (digit < 0 || digit >= base)
        return std::nullopt;
    return digit;
}

std::optional<int> ParseInt(const QString& text) {
    qsizetype at = 0;
    while (at < text.size() && text.at(at) == QLatin1Char(' '))
        ++at;
    bool negative = false;
    if (at < text.size() && (text.at(at) == QLatin1Char('-') || text.at(at) == QLatin1Char('+')))
        negative = text.at(at++) == QLatin1Char('-');
    int base = 10;
    if (text.mid(at, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0) {
        base = 16;
        at += 2;
    } else if (at < text.size() &&
               (text.at(at) == QLatin1Char('$') || text.at(at).toLower() == QLatin1Char('x'))) {
        base = 16;
        ++at;
    }
    if (at >= text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; at < text.size(); ++at) {
        const std::optional<qint64> digit = DigitValue(text.at(at), base);
        if (!digit)
            return std::nullopt;
        value = value * base + *digit;
        // Hexadecimal texts may spell a negative number in its 32-bit pattern ($FFFFFFFF = -1).
        const qint64 limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 0x80000000LL : 0x7FFFFFFFLL);
        if (value > limit)
            return std::nullopt;
    }
    const qint64 signedValue = negative ? -value : value;
    return static_cast<int>(static_cast<quint32>(signedValue));
}

} // namespace

int StrToInt(const QString& text) {
    if (const std::optional<int> value = ParseInt(text))
        return *value;
    throw EFailure(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

bool StrToBool(const QString& text) {
    if (const std::optional<int> value = ParseInt(text))
        return *value != 0;
    bool isNumber = false;
    const double number = text.trimmed().toDouble(&isNumber);
    if (isNumber)
        return number != 0.0;
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    throw EFailure(QStringLiteral("'%1' is not a valid boolean value").arg(text));
}
