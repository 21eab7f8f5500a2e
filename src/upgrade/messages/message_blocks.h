#pragma once

#include <array>

// One language's upgrade messages, UTF-8, in the order of the English block; message n has the
// placeholders of English message n.
constexpr int kMessagesPerBlock = 31;
using TMessageBlock = std::array<const char*, kMessagesPerBlock>;

extern const TMessageBlock kEnglishMessages;
extern const TMessageBlock kRussianMessages;
extern const TMessageBlock kGermanMessages;
extern const TMessageBlock kFrenchMessages;
extern const TMessageBlock kSpanishMessages;
extern const TMessageBlock kPortugueseMessages;
extern const TMessageBlock kPortugueseBrazilianMessages;
extern const TMessageBlock kItalianMessages;
extern const TMessageBlock kDutchMessages;
extern const TMessageBlock kDanishMessages;
extern const TMessageBlock kSwedishMessages;
extern const TMessageBlock kFinnishMessages;
extern const TMessageBlock kEstonianMessages;
extern const TMessageBlock kUkrainianMessages;
extern const TMessageBlock kPolishMessages;
extern const TMessageBlock kCzechMessages;
extern const TMessageBlock kHungarianMessages;
extern const TMessageBlock kRomanianMessages;
extern const TMessageBlock kCatalanMessages;
extern const TMessageBlock kBasqueMessages;
extern const TMessageBlock kAfrikaansMessages;
extern const TMessageBlock kChineseTraditionalMessages;
extern const TMessageBlock kChineseSimplifiedMessages;
extern const TMessageBlock kIndonesianMessages;
extern const TMessageBlock kMalayMessages;
extern const TMessageBlock kIcelandicMessages;
extern const TMessageBlock kTurkishMessages;
extern const TMessageBlock kNorwegianMessages;
extern const TMessageBlock kSlovakMessages;
