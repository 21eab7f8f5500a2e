#pragma once

#include <QString>
#include <chrono>

// The new program is trusted only once it says that it started well (its window shown, its
// settings and database open). It finds a socket in its environment and writes its
// confirmation there.

enum class TStartOutcome {
    Confirmed,
    NotStarted, // it could not be started at all
    Ended,      // it ended, or closed the socket, without confirming
    TimedOut,   // it said nothing in time; it has been stopped
};

// Starts the program and waits, up to Timeout, for its confirmation. A program that has not
// confirmed in time is stopped (asked first, then killed) before this returns.
TStartOutcome StartAndAwaitConfirmation(const QString& programPath, const QString& arguments,
                                        std::chrono::milliseconds timeout);
