#include "library/library_game.h"

namespace {

constexpr int kPackedDigits = 12;

} // namespace

TPackedTime PackedTimeOf(const QString& storedText) {
    TPackedTime time = 0;
    int digits = 0;
    for (const QChar c : storedText) {
        if (digits == kPackedDigits)
            break;
        if (c.isDigit()) {
            time = time * 10 + c.digitValue();
            ++digits;
        }
    }
    return digits == kPackedDigits ? time : 0;
}

QString PackedTimeText(TPackedTime time) {
    if (time == 0)
        return {};
    const QString digits = QString::number(time).rightJustified(kPackedDigits, QLatin1Char('0'));
    return QStringLiteral("%1-%2-%3 %4:%5")
        .arg(digits.mid(0, 4), digits.mid(4, 2), digits.mid(6, 2), digits.mid(8, 2),
             digits.mid(10, 2));
}
