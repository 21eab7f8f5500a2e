#include "upgrade/messages/system_language.h"

#include <QStringList>

namespace {

// ISO 639 codes of the languages with a block of messages, and their Windows primary language.
struct TPrimaryLanguage {
    const char* Code;
    unsigned Id;
};
constexpr TPrimaryLanguage kPrimaryLanguages[] = {
    {"af", 0x36}, {"ca", 0x03}, {"cs", 0x05}, {"da", 0x06}, {"de", 0x07}, {"en", 0x09},
    {"es", 0x0A}, {"et", 0x25}, {"eu", 0x2D}, {"fi", 0x0B}, {"fr", 0x0C}, {"hu", 0x0E},
    {"id", 0x21}, {"is", 0x0F}, {"it", 0x10}, {"ms", 0x3E}, {"nb", 0x14}, {"nl", 0x13},
    {"nn", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19},
    {"sk", 0x1B}, {"sv", 0x1D}, {"tr", 0x1F}, {"uk", 0x22}, {"zh", 0x04},
};

// The sub-languages the choice of messages depends on: which Chinese, which Portuguese.
struct TSubLanguage {
    const char* Locale;
    unsigned Id;
};
constexpr TSubLanguage kSubLanguages[] = {
    {"zh_TW", 0x01}, {"zh_CN", 0x02}, {"zh_HK", 0x03}, {"zh_SG", 0x04},
    {"zh_MO", 0x05}, {"pt_BR", 0x01}, {"pt_PT", 0x02},
};
constexpr unsigned kNeutralSubLanguage = 0x00;
constexpr unsigned kDefaultSubLanguage = 0x01;

unsigned PrimaryLanguageId(const QString& code) {
    for (const TPrimaryLanguage& language : kPrimaryLanguages) {
        if (code == QLatin1String(language.Code))
            return language.Id;
    }
    return 0;
}

unsigned SubLanguageId(const QString& language, const QString& territory) {
    if (territory.isEmpty())
        return kNeutralSubLanguage;
    const QString locale = language + QLatin1Char('_') + territory;
    for (const TSubLanguage& sub : kSubLanguages) {
        if (locale == QLatin1String(sub.Locale))
            return sub.Id;
    }
    return kDefaultSubLanguage;
}

} // namespace

unsigned LanguageIdOfLocale(const QString& localeName) {
    // language[_territory][.codeset][@modifier]
    const QString name = localeName.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    const QString language = name.section(QLatin1Char('_'), 0, 0).toLower();
    const QString territory = name.section(QLatin1Char('_'), 1, 1).toUpper();
    const unsigned primary = PrimaryLanguageId(language);
    return primary == 0 ? 0 : primary | SubLanguageId(language, territory) << 10;
}

unsigned SystemLanguageId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return LanguageIdOfLocale(value);
    }
    return 0;
}
