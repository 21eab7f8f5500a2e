// The pieces every game record and coded address is made of: splitting at "|" and "&#", GBK
// text both ways, and integer texts.
#include "common/common_method.h"
#include "common/failure.h"
#include "common/gbk_text.h"
#include "common/text_conversions.h"
#include "support/require.h"

#include <QRegularExpression>
#include <cstdint>
#include <optional>

namespace {

void CheckSplitting(const QByteArray& text, const QByteArray& delimiter) {
    const QList<QByteArray> pieces = TCommonMethod::SplitString(text, delimiter);
    if (TrimBlanks(text).isEmpty()) {
        Require(pieces.isEmpty(), "a blank text has no pieces");
        return;
    }
    Require(pieces.join(delimiter) == text, "the pieces and delimiters make the text again");
    for (const QByteArray& piece : pieces)
        Require(!piece.contains(delimiter), "no piece holds the delimiter");
}

void CheckGbk(const QByteArray& bytes) {
    const QString text = FromGbk(bytes);
    const QByteArray once = ToGbk(text);
    Require(ToGbk(FromGbk(once)) == once, "GBK text read and written once stays as it is");
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        Require(text == QLatin1String(bytes) && once == bytes, "ASCII is the same in GBK");
}

std::optional<int> Converted(const QString& text) {
    try {
        return StrToInt(text);
    } catch (const EFailure&) {
        return std::nullopt;
    }
}

// Decimal texts have one meaning whatever reads them: compare with a plain 64-bit reading.
void CheckInteger(const QString& text) {
    const std::optional<int> value = Converted(text);
    static const QRegularExpression decimal(QStringLiteral("\\A *([+-]?)0*([0-9]{1,12})\\z"));
    const QRegularExpressionMatch match = decimal.match(text);
    if (!match.hasMatch())
        return;
    const qint64 plain =
        (match.captured(1) == QLatin1String("-") ? -1 : 1) * match.captured(2).toLongLong();
    const bool fits = plain >= INT32_MIN && plain <= INT32_MAX;
    Require(fits ? value == int(plain) : !value, "a decimal text converts to its value or fails");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckSplitting(text, QByteArrayLiteral("|"));
    CheckSplitting(text, QByteArrayLiteral("&#"));
    CheckGbk(text);
    CheckInteger(FromGbk(text));
    return 0;
}
