#pragma once

#include <QString>
#include <QStringList>

// The upgrader program, which the client carries as its resource "AUUPG": written out as
// "Upgrader3.exe" where it can run and started as the client closes.

// Where the upgrader may be written, best first: the user's private runtime folder, then a
// private folder inside the program folder (which can run programs: the client runs from it).
// The shared temporary folder is never used: another user's file may stand in the way there, and
// it is often mounted so that nothing runs from it.
QStringList UpgraderLocations();

// Writes the upgrader to Path as a new file with the run bit and the temporary attribute,
// replacing ours from an earlier upgrade. False, leaving no file, when it cannot be written
// whole or a file there cannot be replaced.
bool WriteUpgrader(const QString& path);

// Writes the upgrader at the first location where it can be written and started, and starts it
// on its own with the program's path and "+" + Params: the program file it waits for and
// restarts, and the arguments for the restart. False, with the system's reason, when it could
// be started nowhere.
bool LaunchUpgrader(const QString& programPath, const QString& params, QString& reason);

// Removes the upgrader that an earlier upgrade left at any of its locations.
void RemoveUpgraderCopies();
