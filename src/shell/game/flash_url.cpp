#include "shell/game/flash_url.h"

#include "common/common_method.h"
#include "common/gbk_text.h"
#include "common/text_conversions.h"

QString DecodeFlashUrl(const QByteArray& coded) {
    QByteArray bytes;
    for (const QByteArray& piece : TCommonMethod::SplitString(coded, QByteArrayLiteral("&#"))) {
        if (TrimBlanks(piece).isEmpty())
            continue;
        // The untrimmed piece is converted: a trailing line break or ";" is not a number.
        bytes.append(static_cast<char>(StrToInt(FromGbk(piece)) & 0xFF));
    }
    return FromGbk(bytes);
}
