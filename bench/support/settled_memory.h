#pragma once

#include "support/event_wait.h"
#include "support/process_tree.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>

// The proportional set size of this process and its browser engine processes, in mebibytes;
// Except (the benchmark's own catalogue server) is not the client's.
inline double TreePss(qint64 except) {
    return TreeMegabytes(QCoreApplication::applicationPid(), "smaps_rollup", "Pss:") -
           ProcessMegabytes(except, "smaps_rollup", "Pss:");
}

// The median of three readings a second apart: the browser engine's garbage collector makes a
// single reading jump by tens of megabytes.
inline double SettledTreePss(qint64 except) {
    std::array<double, 3> readings{};
    for (double& reading : readings) {
        Settle(1000);
        reading = TreePss(except);
    }
    std::sort(readings.begin(), readings.end());
    return readings[1];
}
