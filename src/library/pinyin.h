#pragma once

#include <QString>

// A game name spelled for search: each Chinese character by its pinyin (ICU's Han-Latin
// transliteration, tones dropped), every other letter or digit as it is, in small ASCII letters
// and without blanks or punctuation. "泡泡龙" is "paopaolong", initials "ppl"; "超级玛丽3" is
// "chaojimali3", initials "cjml3".
struct TPinyin {
    QString Full;
    QString Initials;
};

// Safe from any thread. The first call loads ICU's rules, some 100 ms: never the UI thread's.
TPinyin PinyinOf(const QString& name);

// Text as the spellings are written: small ASCII letters and digits, everything else dropped.
// Empty when Text holds anything but ASCII letters, digits, blanks and apostrophes, for then it
// is no pinyin ("xi'an", "pao pao long" and "PPL" are).
QString PinyinQueryOf(const QString& text);
