#include "upgrade/wizard/upgrade_message_format.h"

#include "upgrade/messages/upgrade_messages.h"

#include <algorithm>

namespace {

// Wider fields than this are no message's; the bound keeps a damaged format from asking for
// gigabytes of blanks.
constexpr int kMaxField = 64;

struct TPlaceholder {
    QString Flags;
    int Width = -1;
    int Precision = -1;
    QChar Conversion;
    qsizetype End = 0; // index just behind the placeholder
};

int ReadNumber(const QString& text, qsizetype& i) {
    int value = 0;
    while (i < text.size() && text[i].isDigit()) {
        value = std::min(kMaxField, value * 10 + text[i].digitValue());
        ++i;
    }
    return value;
}

// The placeholder starting at the percent sign at Start.
TPlaceholder ReadPlaceholder(const QString& format, qsizetype start) {
    TPlaceholder placeholder;
    qsizetype i = start + 1;
    while (i < format.size() && QStringLiteral("-0+ #").contains(format[i]))
        placeholder.Flags += format[i++];
    if (i < format.size() && format[i].isDigit())
        placeholder.Width = ReadNumber(format, i);
    if (i < format.size() && format[i] == QLatin1Char('.')) {
        ++i;
        placeholder.Precision = ReadNumber(format, i);
    }
    if (i < format.size())
        placeholder.Conversion = format[i++];
    placeholder.End = i;
    return placeholder;
}

qint64 AsInteger(const TMessageArgument& argument) {
    if (const auto* number = std::get_if<qint64>(&argument))
        return *number;
    if (const auto* real = std::get_if<double>(&argument))
        return static_cast<qint64>(*real);
    return std::get<QString>(argument).toLongLong();
}

double AsReal(const TMessageArgument& argument) {
    if (const auto* number = std::get_if<qint64>(&argument))
        return static_cast<double>(*number);
    if (const auto* real = std::get_if<double>(&argument))
        return *real;
    return std::get<QString>(argument).toDouble();
}

QString AsText(const TMessageArgument& argument) {
    if (const auto* number = std::get_if<qint64>(&argument))
        return QString::number(*number);
    if (const auto* real = std::get_if<double>(&argument))
        return QString::number(*real);
    return std::get<QString>(argument);
}

// The C library formats numbers only, from a directive rebuilt here out of checked parts.
QByteArray NumberDirective(const TPlaceholder& placeholder, const char* conversion) {
    QByteArray directive = '%' + placeholder.Flags.toLatin1();
    if (placeholder.Width >= 0)
        directive += QByteArray::number(placeholder.Width);
    if (placeholder.Precision >= 0)
        directive += '.' + QByteArray::number(placeholder.Precision);
    return directive + conversion;
}

QString FormatText(const TPlaceholder& placeholder, QString text) {
    if (placeholder.Precision >= 0)
        text.truncate(placeholder.Precision);
    const qsizetype width = std::max(0, placeholder.Width);
    return placeholder.Flags.contains(QLatin1Char('-')) ? text.leftJustified(width)
                                                        : text.rightJustified(width);
}

QString FormatArgument(const TPlaceholder& placeholder, const TMessageArgument& argument) {
    if (placeholder.Conversion == QLatin1Char('d'))
        return QString::asprintf(NumberDirective(placeholder, "lld").constData(),
                                 static_cast<long long>(AsInteger(argument)));
    if (placeholder.Conversion == QLatin1Char('f'))
        return QString::asprintf(NumberDirective(placeholder, "f").constData(), AsReal(argument));
    return FormatText(placeholder, AsText(argument));
}

} // namespace

QString FormatMessageText(const QString& format,
                          std::initializer_list<TMessageArgument> arguments) {
    QString result;
    auto next = arguments.begin();
    qsizetype i = 0;
    while (i < format.size()) {
        const qsizetype percent = format.indexOf(QLatin1Char('%'), i);
        if (percent < 0) {
            result += QStringView(format).mid(i);
            break;
        }
        result += QStringView(format).mid(i, percent - i);
        const TPlaceholder placeholder = ReadPlaceholder(format, percent);
        i = placeholder.End;
        if (placeholder.Conversion == QLatin1Char('%'))
            result += QLatin1Char('%');
        else if (!QStringLiteral("dfs").contains(placeholder.Conversion))
            result += QStringView(format).mid(percent, i - percent);
        else if (next != arguments.end())
            result += FormatArgument(placeholder, *next++);
    }
    return result;
}

QString FormatUpgradeMessage(int n, std::initializer_list<TMessageArgument> arguments) {
    return FormatMessageText(LoadUpgradeMessage(n), arguments);
}
