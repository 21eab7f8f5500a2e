#pragma once

#include "library/library_game.h"

#include <QString>

// The tooltip of a game's caption: its whole name, when it was stored, when last played and how
// often and how long. Rich text with the name escaped, since a catalogue's name is never markup.
QString GameToolTip(const TLibraryGame& game, const TGameDetails* details);
