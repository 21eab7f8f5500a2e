#pragma once

#include <QSqlDatabase>

// What the library keeps beside the table flash, made when missing in any library file, old or
// new: the pinyin of each game's name (game_names), each game's plays (play_history), each game
// file's fingerprint (game_files) and an index of flash in stored order, so that a list's first
// rows come without sorting the whole table.
// The table flash, its rows and its statements stay as they are, so older clients keep working
// with the file. Fails with the engine's message when the file cannot take a table.
void EnsureLibraryTables(const QSqlDatabase& database);
