#include "library/pinyin.h"

#include <QHash>
#include <memory>
#include <mutex>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace {

bool IsSpellingCharacter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

QString SpellingOf(const QString& text) {
    QString spelling;
    for (const QChar c : text.toLower()) {
        if (IsSpellingCharacter(c))
            spelling.append(c);
    }
    return spelling;
}

// One transliterator for the process: making one costs some 100 ms, and ICU does not promise
// that one instance may transliterate on two threads at once. Characters are spelled one at a
// time, so that each Chinese character gives one syllable and its initial, and remembered, since
// names share most of their characters.
class TSpeller {
public:
    static TSpeller& Instance() {
        static TSpeller speller;
        return speller;
    }

    TPinyin Spell(const QString& name) {
        const std::lock_guard lock(FLock);
        TPinyin pinyin;
        for (const char32_t c : name.toUcs4()) {
            const QString syllable = SyllableOf(c);
            pinyin.Full += syllable;
            pinyin.Initials +=
                u_hasBinaryProperty(UChar32(c), UCHAR_IDEOGRAPHIC) ? syllable.left(1) : syllable;
        }
        return pinyin;
    }

private:
    TSpeller() {
        UErrorCode status = U_ZERO_ERROR;
        FTransliterator.reset(
            icu::Transliterator::createInstance("Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            FTransliterator.reset();
    }

    QString SyllableOf(char32_t c) {
        const auto known = FSyllables.constFind(c);
        if (known != FSyllables.cend())
            return *known;
        icu::UnicodeString text{UChar32(c)};
        if (FTransliterator)
            FTransliterator->transliterate(text);
        const QString syllable = SpellingOf(
            QString(reinterpret_cast<const QChar*>(text.getBuffer()), qsizetype(text.length())));
        FSyllables.insert(c, syllable);
        return syllable;
    }

    std::mutex FLock;
    std::unique_ptr<icu::Transliterator> FTransliterator;
    QHash<char32_t, QString> FSyllables;
};

} // namespace

TPinyin PinyinOf(const QString& name) {
    return TSpeller::Instance().Spell(name);
}

QString PinyinQueryOf(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() > 127 || !(c.isLetterOrNumber() || c.isSpace() || c == QLatin1Char('\'')))
            return {};
    }
    return SpellingOf(text);
}
