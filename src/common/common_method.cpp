#include "common/common_method.h"

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20u;
}
bool IsBlank(QChar c) {
    return c.unicode() <= 0x20u;
}

template <typename Text> Text TrimBlanksOf(const Text& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text.at(first)))
        ++first;
    while (last > first && IsBlank(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

} // namespace

QList<QByteArray> TCommonMethod::SplitString(const QByteArray& text, const QByteArray& delimiter) {
    QList<QByteArray> pieces;
    if (TrimBlanksOf(text).isEmpty())
        return pieces;
    qsizetype start = 0;
    if (!delimiter.isEmpty()) {
        for (qsizetype at = text.indexOf(delimiter); at >= 0; at = text.indexOf(delimiter, start)) {
            pieces.append(text.mid(start, at - start));
            start = at + delimiter.size();
        }
    }
    pieces.append(text.mid(start));
    return pieces;
}

QString TrimBlanks(const QString& text) {
    return TrimBlanksOf(text);
}

QByteArray TrimBlanks(const QByteArray& text) {
    return TrimBlanksOf(text);
}

QString UpperCaseAscii(const QString& text) {
    QString upper = text;
    for (QChar& c : upper) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return upper;
}
