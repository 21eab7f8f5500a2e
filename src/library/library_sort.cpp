#include "library/library_sort.h"

#include <algorithm>
#include <tuple>

namespace {

template <typename Key>
void SortByKey(QList<int>& shown, const QList<TGameDetails>& details, Key key) {
    std::stable_sort(shown.begin(), shown.end(),
                     [&](int a, int b) { return key(details[a]) < key(details[b]); });
}

} // namespace

void SortShown(QList<int>& shown, TLibrarySort sort, const QList<TGameDetails>& details) {
    if (details.isEmpty())
        return;
    switch (sort) {
    case TLibrarySort::Stored:
        return;
    case TLibrarySort::Name:
        SortByKey(shown, details, [](const TGameDetails& game) { return game.NameRank; });
        return;
    case TLibrarySort::LastPlayed:
        SortByKey(shown, details, [](const TGameDetails& game) { return -game.LastPlayed; });
        return;
    case TLibrarySort::TimesPlayed:
        SortByKey(shown, details, [](const TGameDetails& game) {
            return std::tuple(-game.PlayCount, -game.LastPlayed);
        });
        return;
    }
}
