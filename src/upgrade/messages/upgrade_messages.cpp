#include "upgrade/messages/upgrade_messages.h"

#include "upgrade/messages/message_blocks.h"
#include "upgrade/messages/system_language.h"

#include <array>
#include <atomic>

namespace {

constexpr int kLanguageCount = wlSlovak;
constexpr unsigned kPortuguese = 0x16;
constexpr unsigned kChinese = 0x04;
constexpr unsigned kBrazilian = 0x01;
constexpr unsigned kSimplifiedChinese = 0x02;

// Each language's primary language id and messages, in the order of the enumeration.
struct TLanguageEntry {
    unsigned PrimaryId;
    const TMessageBlock* Messages;
};
const std::array<TLanguageEntry, kLanguageCount> kLanguages = {{
    {0x09, &kEnglishMessages},
    {0x19, &kRussianMessages},
    {0x07, &kGermanMessages},
    {0x0C, &kFrenchMessages},
    {0x0A, &kSpanishMessages},
    {0x16, &kPortugueseMessages},
    {0x16, &kPortugueseBrazilianMessages},
    {0x10, &kItalianMessages},
    {0x13, &kDutchMessages},
    {0x06, &kDanishMessages},
    {0x1D, &kSwedishMessages},
    {0x0B, &kFinnishMessages},
    {0x25, &kEstonianMessages},
    {0x22, &kUkrainianMessages},
    {0x15, &kPolishMessages},
    {0x05, &kCzechMessages},
    {0x0E, &kHungarianMessages},
    {0x18, &kRomanianMessages},
    {0x03, &kCatalanMessages},
    {0x2D, &kBasqueMessages},
    {0x36, &kAfrikaansMessages},
    {0x04, &kChineseTraditionalMessages},
    {0x04, &kChineseSimplifiedMessages},
    {0x21, &kIndonesianMessages},
    {0x3E, &kMalayMessages},
    {0x0F, &kIcelandicMessages},
    {0x1F, &kTurkishMessages},
    {0x14, &kNorwegianMessages},
    {0x1B, &kSlovakMessages},
}};

// 0 until a language has been chosen.
std::atomic<int> gMessageBase{0};

} // namespace

int MessageBlockBase(TauAutoUpdaterLanguage language) {
    if (language < wlEnglish || language > wlSlovak)
        language = wlEnglish;
    return kFirstMessageBase + kMessageBlockStep * (language - 1);
}

int MessageBase() {
    const int base = gMessageBase.load();
    return base != 0 ? base : MessageBlockBase(DetectLanguage());
}

QString LoadResourceString(int id) {
    if (id == kComponentNameId)
        return QStringLiteral("AutoUpdater");
    const int offset = id - kFirstMessageBase;
    const int block = offset / kMessageBlockStep;
    const int message = offset % kMessageBlockStep;
    if (offset < 0 || block >= kLanguageCount || message >= kMessagesPerBlock)
        return {};
    return QString::fromUtf8((*kLanguages[block].Messages)[message]);
}

QString LoadUpgradeMessage(int n) {
    if (n < 0 || n >= kMessagesPerBlock)
        return {};
    return LoadResourceString(MessageBase() + n);
}

TauAutoUpdaterLanguage LanguageForLanguageId(unsigned languageId) {
    const unsigned primary = languageId & 0x3FF;
    const unsigned sub = languageId >> 10;
    if (primary == kPortuguese)
        return sub == kBrazilian ? wlPortugueseBrazilian : wlPortuguese;
    if (primary == kChinese)
        return sub == kSimplifiedChinese ? wlChineseSimplified : wlChineseTraditional;
    for (int i = 0; i < kLanguageCount; ++i) {
        if (kLanguages[i].PrimaryId == primary)
            return static_cast<TauAutoUpdaterLanguage>(i + 1);
    }
    return wlEnglish;
}

TauAutoUpdaterLanguage DetectLanguage() {
    const TauAutoUpdaterLanguage language = LanguageForLanguageId(SystemLanguageId());
    gMessageBase.store(MessageBlockBase(language));
    return language;
}

void SetMessageLanguage(TauAutoUpdaterLanguage language) {
    if (language == wlAuto)
        DetectLanguage();
    else
        gMessageBase.store(MessageBlockBase(language));
}
