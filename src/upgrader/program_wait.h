#pragma once

#include <QString>

// Returns once no process runs the program file any more, without a time limit. The file of a
// running program cannot be opened for writing (ETXTBSY); we try every millisecond at the
// lowest priority so as not to compete with the program that is ending.
void WaitUntilProgramEnded(const QString& programPath);

// Whether some process we may inspect runs that file. It tells a running program from one that
// has ended when its file cannot be opened for writing at all (a read-only file, a read-only
// file system).
bool IsExecutedByAnyProcess(const QString& programPath);
