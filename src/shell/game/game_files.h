#pragma once

#include "shell/game/game_info.h"

#include <QString>

// The game file of Name in the flash folder ("name.swf", letter case ignored), when it is there
// and holds something; empty otherwise. An empty file is what a download cut by a power loss
// can leave under the game's name, so it counts as no game and is fetched again.
QString FindGameFile(const QString& flashFolder, const QString& name);

// The file Name + Extension in Folder, letter case ignored. The catalogue may send a name with
// blanks around it; the file is stored under the name as received, while the library hands
// names back trimmed. So a file whose name differs from Name only in blanks around it is found
// too, whichever of the two forms it was stored under. Empty when there is none.
QString FindStoredFile(const QString& folder, const QString& name, const QString& extension);

// The name the game's thumbnail is written under in the pic folder: the game's name and the
// extension of its picture address.
QString PictureFileName(const TGameInfo& game);
