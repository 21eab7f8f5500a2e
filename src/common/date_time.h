#pragma once

#include <QDateTime>
#include <functional>

// A point in local time as a day count since 1899-12-30, the time of day as the fraction.
struct TDateTime {
    double Value = 0.0;

    static TDateTime FromLocal(const QDateTime& local);
    QDateTime ToLocal() const;
};

// The one place the current local date-time comes from, so that tests can pin "today".
class TClock {
public:
    static QDateTime Now();
    static void SetNowForTesting(std::function<QDateTime()> now);
};
