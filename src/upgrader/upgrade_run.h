#pragma once

#include "upgrader/command_line.h"

// Waits for the program to end, puts its pending files in place and starts it again (in setup
// mode after the downloaded setup program has run). Nothing is reported: a step that fails is
// skipped.
void RunUpgrade(const TUpgraderCommand& command);
