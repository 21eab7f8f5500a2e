#include "common/date_time.h"

#include <cmath>

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMillisecondsPerDay = 86400000.0;

std::function<QDateTime()>& PinnedNow() {
    static std::function<QDateTime()> now;
    return now;
}

} // namespace

TDateTime TDateTime::FromLocal(const QDateTime& local) {
    const double days = static_cast<double>(kEpoch.daysTo(local.date()));
    const double fraction = local.time().msecsSinceStartOfDay() / kMillisecondsPerDay;
    // Before the epoch the fraction still counts forward from midnight, but the sign of the whole
    // value is negative: -1.25 is 1899-12-29 06:00.
    return {days >= 0 ? days + fraction : days - fraction};
}

QDateTime TDateTime::ToLocal() const {
    const double wholeDays = std::trunc(Value);
    const double fraction = std::fabs(Value - wholeDays);
    const auto msecs = static_cast<int>(std::llround(fraction * kMillisecondsPerDay));
    const QDate date = kEpoch.addDays(static_cast<qint64>(wholeDays));
    return QDateTime(date, QTime(0, 0).addMSecs(std::min(msecs, 86399999)));
}

QDateTime TClock::Now() {
    return PinnedNow() ? PinnedNow()() : QDateTime::currentDateTime();
}

void TClock::SetNowForTesting(std::function<QDateTime()> now) {
    PinnedNow() = std::move(now);
}
