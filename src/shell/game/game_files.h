#pragma once

#include <QString>

// The game file of Name in the flash folder ("name.swf", letter case ignored), when it is there
// and holds something; empty otherwise. An empty file is what a download cut by a power loss
// can leave under the game's name, so it counts as no game and is fetched again.
QString FindGameFile(const QString& flashFolder, const QString& name);
