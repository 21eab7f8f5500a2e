#pragma once

#include <QString>

// The upgrader program, which the client carries as its resource "AUUPG": written out into the
// temporary folder and started as the client closes.

// The temporary folder + "Upgrader3.exe"; the same for the whole run of the program.
QString UpgraderPath();

// Writes the upgrader to Path as a new file with the run bit and the temporary attribute,
// replacing ours from an earlier upgrade. False, leaving no file, when it cannot be written
// whole or a file there cannot be replaced.
bool WriteUpgrader(const QString& path);

// Starts the upgrader on its own with the program's path and "+" + Params: the program file it
// waits for and restarts, and the arguments for the restart.
bool StartUpgrader(const QString& upgraderPath, const QString& programPath, const QString& params);
