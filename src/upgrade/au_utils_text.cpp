#include "common/common_method.h"
#include "common/gbk_text.h"
#include "upgrade/au_decimal.h"
#include "upgrade/au_utils.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

bool IsPathDelimiter(QChar c) {
    return c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':');
}

qsizetype LastDelimiter(const QString& path) {
    for (qsizetype at = path.size() - 1; at >= 0; --at)
        if (IsPathDelimiter(path.at(at)))
            return at;
    return -1;
}

// The text from the last "." of the file-name part on; empty when that part has no ".".
QString FileExtension(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > LastDelimiter(path) ? path.mid(dot) : QString();
}

QString FileNamePart(const QString& path) {
    return path.mid(LastDelimiter(path) + 1);
}

QString FolderPart(const QString& path) {
    return path.left(LastDelimiter(path) + 1);
}

void DeleteFirst(QString& text, QChar c, int times) {
    for (int i = 0; i < times; ++i) {
        const qsizetype at = text.indexOf(c);
        if (at < 0)
            return;
        text.remove(at, 1);
    }
}

// A command line whose program is quoted, alone or followed by quoted arguments.
bool SplitAtQuotes(QString& command, QString& params) {
    const QChar quote = QLatin1Char('"');
    const qsizetype opening = command.indexOf(quote);
    if (opening >= 0)
        command.remove(opening, 1);
    const qsizetype closing = command.indexOf(quote);
    if (opening < 0 || closing < 0)
        return false;
    command.remove(closing, 1);
    if (opening == 0) {
        // The character that followed the closing quote is the blank before the arguments.
        params = TrimBlanks(command.mid(closing + 1));
        command = command.left(closing);
        DeleteFirst(params, quote, 2);
    } else {
        params = command.mid(opening);
        command = command.left(std::max<qsizetype>(opening - 1, 0));
    }
    return true;
}

// A command line without quotes: the program ends at the first option, switch, comma or
// placeholder, unless that would cut the program's own file name before its extension.
void SplitAtSeparators(QString& command, QString& params) {
    struct TSeparator {
        const char* Text;
        quint8 Flags;
    };
    static constexpr std::array<TSeparator, 5> kSeparators{
        {{" -", 2}, {" /", 2}, {" \\", 2}, {",", 0}, {" %", 2}}};
    params.clear();
    const QString whole = command;
    QString candidate;
    QString rest;
    bool first = true;
    for (const TSeparator& separator : kSeparators) {
        const bool skipped = first ? !params.isEmpty() : !rest.isEmpty();
        first = false;
        if (!skipped)
            SplitAtSeparator(QLatin1String(separator.Text), command, candidate, separator.Flags,
                             false, rest);
        if (!FileExtension(command).isEmpty() && FileExtension(candidate).isEmpty()) {
            candidate = command;
            rest = params;
        } else {
            command = candidate;
            params = rest;
        }
    }
    if (FileExtension(command).toUpper() == QLatin1String(".DLL") &&
        command.toUpper().contains(QLatin1String("RUNDLL"))) {
        QString name;
        SplitAtSeparator(QStringLiteral(" "), FileNamePart(whole), name, 0, false, params);
        command = FolderPart(whole) + name;
    }
}

} // namespace

quint8 CalcPercent(long double part, long double whole) {
    if (whole == 0)
        return 0;
    // The default rounding mode rounds halves to even.
    const long double percent = std::nearbyint(part * 100 / whole);
    if (!std::isfinite(percent) || std::fabs(percent) > 9.0e18L)
        return 0;
    return static_cast<quint8>(static_cast<qint64>(percent) & 0xFF);
}

void SplitAtSeparator(const QString& sep, const QString& text, QString& left, quint8 flags,
                      bool defaultToRight, QString& right) {
    const qsizetype at = text.indexOf(sep);
    if (at < 0) {
        left = defaultToRight ? QString() : text;
        right = defaultToRight ? text : QString();
        return;
    }
    left = text.left(at);
    right = text.mid(at + sep.size());
    if ((flags & 1) != 0)
        left += sep;
    if ((flags & 2) != 0)
        right.prepend(sep);
}

void SplitCommandLine(QString& command, QString& params) {
    command = TrimBlanks(command);
    if (command.isEmpty())
        return;
    if (!SplitAtQuotes(command, params))
        SplitAtSeparators(command, params);
    command = TrimBlanks(command);
    params = TrimBlanks(params);
}

QString URLToFileName(const QString& url) {
    QString path = url;
    return FileNamePart(path.replace(QLatin1Char('/'), QLatin1Char('\\')));
}

namespace {

constexpr int kVersionParts = 4;

std::array<QString, kVersionParts> SplitVersion(const QString& version) {
    std::array<QString, kVersionParts> parts;
    QString rest = version + QLatin1Char('.');
    for (QString& part : parts) {
        const qsizetype dot = rest.indexOf(QLatin1Char('.'));
        if (dot < 0) {
            part = QStringLiteral("0");
            continue;
        }
        part = rest.left(dot);
        rest = rest.mid(dot + 1);
    }
    return parts;
}

// Bytes compared as unsigned, the end of a text counting as a byte 0.
qint8 CompareAsText(const QString& a, const QString& b) {
    const QByteArray left = ToGbk(a);
    const QByteArray right = ToGbk(b);
    for (qsizetype at = 0; at < std::max(left.size(), right.size()); ++at) {
        const auto l = static_cast<quint8>(at < left.size() ? left.at(at) : 0);
        const auto r = static_cast<quint8>(at < right.size() ? right.at(at) : 0);
        if (l != r)
            return l > r ? 1 : -1;
    }
    return 0;
}

} // namespace

qint8 CompareVersions(const QString& a, const QString& b) {
    const auto partsOfA = SplitVersion(a);
    const auto partsOfB = SplitVersion(b);
    for (int i = 0; i < kVersionParts; ++i) {
        const int numberOfA = ParseDecimal(partsOfA[i]).value_or(-1);
        const int numberOfB = ParseDecimal(partsOfB[i]).value_or(-1);
        if (numberOfA == -1 || numberOfB == -1)
            return CompareAsText(a, b);
        if (numberOfA != numberOfB)
            return numberOfA > numberOfB ? 1 : -1;
    }
    return 0;
}

QString EncodeURLExtra(const QString& text) {
    static constexpr char kEscaped[] = " #%*+<>";
    QByteArray encoded;
    for (const char byte : ToGbk(text)) {
        const auto code = static_cast<quint8>(byte);
        if (code < 32 || code >= 128 || std::strchr(kEscaped, byte) != nullptr)
            encoded += '%' + QByteArray::number(code, 16).toUpper().rightJustified(2, '0');
        else
            encoded += byte;
    }
    return QString::fromLatin1(encoded);
}
