#pragma once

#include "library/library_game.h"

#include <QString>

// What was typed into the library's search field. A game matches when its name holds the text
// (letter case ignored), or when the text is pinyin (ASCII letters, digits, blanks) and the
// pinyin of the name, full or by initials, holds it without its blanks: "泡泡龙" is found by
// "泡泡", "paopaolong", "pao pao long" and "ppl".
class TLibraryQuery {
public:
    explicit TLibraryQuery(const QString& text = QString());

    bool IsEmpty() const { return FText.isEmpty(); }
    // Details may be missing while the list is still coming: then only the name counts.
    bool Matches(const TLibraryGame& game, const TGameDetails* details) const;

private:
    QString FText;
    QString FPinyin;
};
