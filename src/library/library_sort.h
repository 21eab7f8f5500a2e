#pragma once

#include "library/library_game.h"

#include <QList>

// The orders of a library page: the list's own (for most pages the order in which the games
// were stored), by name in Chinese collation order, the last played first, the most played
// first. Games never played come after the played ones.
enum class TLibrarySort { Stored, Name, LastPlayed, TimesPlayed };

// Puts Shown, indexes into the list in ascending order, into Sort's order; ties keep the list's
// order. Without Details (the list is still coming) the list's order stays.
void SortShown(QList<int>& shown, TLibrarySort sort, const QList<TGameDetails>& details);
