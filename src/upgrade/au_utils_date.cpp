#include "common/common_method.h"
#include "upgrade/au_decimal.h"
#include "upgrade/au_utils.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <optional>

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kSecondsPerDay = 86400.0;

const QStringList& DayNames() {
    static const QStringList names{
        QStringLiteral("SUN"), QStringLiteral("MON"), QStringLiteral("TUE"), QStringLiteral("WED"),
        QStringLiteral("THU"), QStringLiteral("FRI"), QStringLiteral("SAT")};
    return names;
}

const QStringList& MonthNames() {
    static const QStringList names{
        QStringLiteral("JAN"), QStringLiteral("FEB"), QStringLiteral("MAR"), QStringLiteral("APR"),
        QStringLiteral("MAY"), QStringLiteral("JUN"), QStringLiteral("JUL"), QStringLiteral("AUG"),
        QStringLiteral("SEP"), QStringLiteral("OCT"), QStringLiteral("NOV"), QStringLiteral("DEC")};
    return names;
}

QString TrimLeadingBlanks(const QString& text) {
    qsizetype at = 0;
    while (at < text.size() && text.at(at) <= QLatin1Char(' '))
        ++at;
    return text.mid(at);
}

// The text up to the next separator (all of it when there is none), taken off the front.
QString TakeField(QString& text, QChar separator) {
    const qsizetype at = text.indexOf(separator);
    const QString field = at < 0 ? text : text.left(at);
    text = TrimLeadingBlanks(at < 0 ? QString() : text.mid(at + 1));
    return field;
}

int MonthNumber(const QString& name) {
    return static_cast<int>(MonthNames().indexOf(UpperCaseAscii(name))) + 1;
}

bool IsMonthName(const QString& name) {
    return MonthNames().contains(UpperCaseAscii(name));
}

std::optional<double> EncodeDate(int year, int month, int day) {
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return static_cast<double>(kEpoch.daysTo(date));
}

std::optional<double> EncodeTime(int hours, int minutes, int seconds) {
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59)
        return std::nullopt;
    return (hours * 3600 + minutes * 60 + seconds) / kSecondsPerDay;
}

QChar FieldSeparator(const QString& text) {
    const qsizetype dash = text.indexOf(QLatin1Char('-'));
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    return dash > 0 && blank >= 0 && dash < blank ? QLatin1Char('-') : QLatin1Char(' ');
}

int YearOf(QString& text) {
    QString token = TakeField(text, QLatin1Char(' '));
    int year = ParseDecimal(token).value_or(1900);
    // asctime writes the time before the year.
    if (year == 1900) {
        year = ParseDecimal(text).value_or(1900);
        text = token;
    }
    if (year < 80)
        return year + 2000;
    return year < 100 ? year + 1900 : year;
}

std::optional<double> TimeOf(QString& text) {
    const QString clock = TakeField(text, QLatin1Char(' '));
    const QStringList fields = clock.split(QLatin1Char(':'));
    const auto field = [&fields](int index) {
        return index < fields.size() ? ParseDecimal(fields.at(index)).value_or(0) : 0;
    };
    const QString seconds = fields.mid(2).join(QLatin1Char(':'));
    return EncodeTime(field(0), field(1), ParseDecimal(seconds).value_or(0));
}

// Steps that fail leave the date at 0; the zone is still read from what is left.
double DateAndTimeOf(QString& text) {
    if (DayNames().contains(UpperCaseAscii(text.left(3))))
        TakeField(text, QLatin1Char(' '));
    const QChar separator = FieldSeparator(text);
    int day = 1;
    int month = 0;
    if (IsMonthName(text.left(text.indexOf(separator)))) {
        month = MonthNumber(TakeField(text, separator));
        day = ParseDecimal(TakeField(text, separator)).value_or(1);
    } else {
        day = ParseDecimal(TakeField(text, separator)).value_or(1);
        month = MonthNumber(TakeField(text, separator));
    }
    const int year = YearOf(text);
    std::optional<double> date = EncodeDate(year, month, day);
    if (!date)
        return 0;
    if (text.contains(QLatin1Char(':'))) {
        const std::optional<double> time = TimeOf(text);
        if (!time)
            return 0;
        *date += *time;
    }
    return *date;
}

} // namespace

TDateTime ParseHTTPDate(const QString& text) {
    QString rest = TrimBlanks(text);
    if (rest.isEmpty())
        return {};
    const double date = DateAndTimeOf(rest);
    const double zone = rest.size() >= 5 ? ParseZoneOffset(rest) : 0;
    return {date - zone - LocalTimeBias()};
}

double ParseZoneOffset(const QString& text) {
    const QString zone = TrimBlanks(text).left(5);
    if (!zone.startsWith(QLatin1Char('+')) && !zone.startsWith(QLatin1Char('-')))
        return 0;
    const std::optional<int> hours = ParseDecimal(zone.mid(1, 2));
    const std::optional<int> minutes = ParseDecimal(zone.mid(3, 2));
    if (!hours || !minutes)
        return 0;
    const double offset = EncodeTime(*hours, *minutes, 0).value_or(0);
    return zone.startsWith(QLatin1Char('-')) ? -offset : offset;
}

double LocalTimeBias() {
    const int offsetSeconds = QDateTime::currentDateTime().offsetFromUtc();
    return -offsetSeconds / kSecondsPerDay;
}
