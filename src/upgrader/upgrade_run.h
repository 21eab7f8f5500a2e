#pragma once

#include "upgrader/command_line.h"
#include "upgrader/upgrade_protocol.h"

#include <chrono>

// Waits for the program to end, checks the files the client verified, puts them in place
// keeping every file they replace, and starts the program again. The new program has
// ConfirmTimeout to confirm a healthy start; without its confirmation the old files go back,
// the old program starts, and a notice tells it what happened. An installation that a crash
// interrupted is taken up where it stood. A setup program runs before the program starts.
void RunUpgrade(const TUpgraderCommand& command,
                std::chrono::milliseconds confirmTimeout =
                    std::chrono::seconds(upgrade_protocol::kConfirmSeconds));
