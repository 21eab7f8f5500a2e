#pragma once

#include <QString>

// Writes a program folder holding a library of Games stored by an older client (flash rows
// only, no names in pinyin yet) and a real JPEG, GIF or PNG thumbnail for each game, in turn.
// Names are Chinese, as a catalogue's are. Returns false when the library could not be made.
bool StoreLibrary(const QString& programFolder, int games);
