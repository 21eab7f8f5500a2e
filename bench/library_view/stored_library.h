#pragma once

#include <QString>

// Writes a program folder holding a library of Games stored by an older client (flash rows
// only, no names in pinyin yet), a real JPEG, GIF or PNG thumbnail for each game, in turn, and a
// placeholder picture of each kind.
// Names are Chinese, as a catalogue's are. Returns false when the library could not be made.
bool StoreLibrary(const QString& programFolder, int games);
