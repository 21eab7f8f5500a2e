#pragma once

#include <QString>

// The languages of the upgrade messages, in the order of their blocks; wlAuto follows the
// system language.
enum TauAutoUpdaterLanguage {
    wlAuto,
    wlEnglish,
    wlRussian,
    wlGerman,
    wlFrench,
    wlSpanish,
    wlPortuguese,
    wlPortugueseBrazilian,
    wlItalian,
    wlDutch,
    wlDanish,
    wlSwedish,
    wlFinnish,
    wlEstonian,
    wlUkrainian,
    wlPolish,
    wlCzech,
    wlHungarian,
    wlRomanian,
    wlCatalan,
    wlBasque,
    wlAfrikaans,
    wlChineseTraditional,
    wlChineseSimplified,
    wlIndonesian,
    wlMalay,
    wlIcelandic,
    wlTurkish,
    wlNorwegian,
    wlSlovak,
};

// The upgrade messages are resource strings: the component's name at 40999, the same in every
// language, and each language's block of 31 messages from 41000 + 50 × (language − 1).
constexpr int kComponentNameId = 40999;
constexpr int kFirstMessageBase = 41000;
constexpr int kMessageBlockStep = 50;

// The first id of a language's block; English's for wlAuto, which has none.
int MessageBlockBase(TauAutoUpdaterLanguage language);

// The process-wide current base, shared by every upgrade component: the block messages are read
// from. The system language's until a language is set.
int MessageBase();

// The resource string of an id; empty for an id that holds none.
QString LoadResourceString(int id);

// Message n (0 to 30) of the current block.
QString LoadUpgradeMessage(int n);

// The language a Windows language identifier selects (primary language in the low ten bits,
// sub-language above them); English for a language without a block.
TauAutoUpdaterLanguage LanguageForLanguageId(unsigned languageId);

// Sets MessageBase from the system language and returns that language.
TauAutoUpdaterLanguage DetectLanguage();

// What assigning a changed Wizard.Language does: wlAuto detects the system language again, any
// other language selects its block.
void SetMessageLanguage(TauAutoUpdaterLanguage language);
