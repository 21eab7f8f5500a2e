#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>

// Runs Loop until it quits or Milliseconds have passed; true when it quit by itself.
inline bool ExecWithin(QEventLoop& loop, int milliseconds) {
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
    deadline.start(milliseconds);
    return loop.exec() == 0;
}

// Runs the event loop, as the client does while it waits, until Condition holds or Milliseconds
// have passed; true when it held. Condition is looked at every millisecond, so the loop stays
// idle in between.
inline bool PumpUntil(const std::function<bool()>& condition, int milliseconds) {
    if (condition())
        return true;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (condition())
            loop.quit();
    });
    check.start(1);
    return ExecWithin(loop, milliseconds);
}

// Lets the event loop run for Milliseconds, as the client does while nothing happens.
inline void Settle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
