#pragma once

#include <QString>

// The system language as the Windows language identifier the upgrade messages are chosen by
// (primary language | sub-language << 10), taken from the locale of messages: LC_ALL, else
// LC_MESSAGES, else LANG.
unsigned SystemLanguageId();

// The identifier of a POSIX locale name such as "zh_CN.UTF-8" (0x0804) or "pt_BR" (0x0416);
// 0, the neutral language, for a language that has no block of messages.
unsigned LanguageIdOfLocale(const QString& localeName);
