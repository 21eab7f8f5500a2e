#pragma once

#include <QString>

// An upgrader that ended before its work was done (a crash, a power cut) leaves its journal in
// the program folder; the next start of the client, whichever version is in place, hands the
// folder back to an upgrader, which puts the old files back or awaits the new version's start.

// Whether the journal is there and no upgrader holds the folder.
bool UpgradeLeftUnfinished(const QString& programFolder);

// Starts the upgrader on the unfinished work when there is some; true when it runs, and the
// client must then end at once: the upgrader starts it again with RestartParams.
bool HandOverUnfinishedUpgrade(const QString& restartParams);
