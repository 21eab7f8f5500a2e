#pragma once

#include <QString>

// Command-line argument Index read as a count; Fallback when it is not given.
inline int CountArgument(int argc, char* argv[], int index, int fallback) {
    return argc > index ? QString::fromLocal8Bit(argv[index]).toInt() : fallback;
}
