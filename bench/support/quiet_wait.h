#pragma once

#include "support/event_wait.h"
#include "support/process_tree.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <unistd.h>

// The processor time the process has used so far, in seconds; 0 when it is gone.
inline double ProcessCpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // The name in parentheses may hold blanks; the fields counted here follow it.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int kUserTime = 11;
    constexpr int kSystemTime = 12;
    if (fields.size() <= kSystemTime)
        return 0;
    return (fields[kUserTime].toDouble() + fields[kSystemTime].toDouble()) /
           double(sysconf(_SC_CLK_TCK));
}

inline double TreeCpuSeconds(qint64 root) {
    double seconds = 0;
    for (const qint64 pid : ProcessTree(root))
        seconds += ProcessCpuSeconds(pid);
    return seconds;
}

// Lets the event loop run until this process and its browser engine processes have used less
// than a tenth of a core for half a second, as once the client's background work after its start
// or after a game (the player compiling itself, reading a movie) is over: a figure taken
// meanwhile would count that work against what is measured. False when that did not come
// within Milliseconds.
inline bool SettleUntilQuiet(int milliseconds) {
    constexpr int kWindowMs = 500;
    constexpr double kQuietShareOfCore = 0.1;
    const qint64 root = QCoreApplication::applicationPid();
    QElapsedTimer clock;
    clock.start();
    double before = TreeCpuSeconds(root);
    while (clock.elapsed() < milliseconds) {
        Settle(kWindowMs);
        const double now = TreeCpuSeconds(root);
        if (now - before < kQuietShareOfCore * kWindowMs / 1000.0)
            return true;
        before = now;
    }
    return false;
}
