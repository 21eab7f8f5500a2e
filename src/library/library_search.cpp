#include "library/library_search.h"

TLibraryQuery::TLibraryQuery(const QString& text)
    : FText(text.trimmed()), FPinyin(PinyinQueryOf(FText)) {}

bool TLibraryQuery::Matches(const TLibraryGame& game, const TGameDetails* details) const {
    if (game.Name.contains(FText, Qt::CaseInsensitive))
        return true;
    return details && !FPinyin.isEmpty() &&
           (details->Spelling.Full.contains(FPinyin) ||
            details->Spelling.Initials.contains(FPinyin));
}
