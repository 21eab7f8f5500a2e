#pragma once

#include <QString>
#include <sys/types.h>

// Starts Program with Arguments, a text split at blanks as the system splits a command line,
// as an ordinary process with default signal handling. Returns its process id, or -1 when it
// could not be started.
pid_t StartProgram(const QString& programPath, const QString& arguments);
// The same, with Variable ("NAME=value") added to the environment it inherits.
pid_t StartProgramWith(const QString& programPath, const QString& arguments,
                       const QByteArray& variable);

// Blocks until the process we started has ended.
void WaitForProgram(pid_t process);
