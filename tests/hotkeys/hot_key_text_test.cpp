#include "hotkeys/hot_key_text.h"
#include "platform/hot_key_window.h"

#include <gtest/gtest.h>

namespace {

constexpr quint32 kAllModifiers = 0x2000 | 0x4000 | 0x8000 | 0x10000;

TEST(HotKeyText, ModifiersComeInTheOrderCtrlShiftAltWin) {
    EXPECT_EQ(HotKeyValueToText(kAllModifiers | 'A', false),
              QStringLiteral("Ctrl+Shift+Alt+Win+A"));
    EXPECT_EQ(ModifierPrefixText(0x8000 | 0x2000, false), QStringLiteral("Shift+Alt+"));
    EXPECT_EQ(HotKeyValueToText(16449, false), QStringLiteral("Ctrl+A"));
    // The keyboard under test is a US one: localized text reads the same.
    EXPECT_EQ(HotKeyValueToText(kAllModifiers | 'A', true), QStringLiteral("Ctrl+Shift+Alt+Win+A"));
    EXPECT_EQ(HotKeyValueToText(0x4000 | 0x21, true), QStringLiteral("Ctrl+Page Up"));
    EXPECT_EQ(HotKeyValueToText(0x8000 | 0x87, false), QStringLiteral("Alt+F24"));
    EXPECT_EQ(HotKeyValueToText(0x8000 | 0x61, false), QStringLiteral("Alt+Num 1"));
    EXPECT_EQ(HotKeyValueToText(0, false), QString());
}

TEST(HotKeyText, BrowserAndMediaKeysAreNamedByTheirTable) {
    EXPECT_EQ(HotKeyValueToText(173, true), QStringLiteral("Volume Mute"));
    EXPECT_EQ(HotKeyValueToText(0x4000 | 173, false), QStringLiteral("Ctrl+Volume Mute"));
    EXPECT_EQ(KeyNameText(166, false), QStringLiteral("Browser Back"));
    EXPECT_EQ(KeyNameText(172, true), QStringLiteral("Browser Start/Home"));
    EXPECT_EQ(KeyNameText(183, false), QStringLiteral("Start Application 2"));
    EXPECT_TRUE(IsMediaKey(166) && IsMediaKey(183));
    EXPECT_FALSE(IsMediaKey(165) || IsMediaKey(184));
    EXPECT_TRUE(MediaKeyName(184).isEmpty());
    // A one-character name of an ordinary key stays.
    EXPECT_EQ(KeyNameText('7', true), QStringLiteral("7"));
}

TEST(HotKeyText, SplitsValuesAndTellsCapitals) {
    const THotKeyParts parts = SplitHotKeyValue(kAllModifiers | 0x41 | 0x100);
    EXPECT_EQ(parts.key, 0x41);
    EXPECT_EQ(parts.modifiers, MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN);
    EXPECT_EQ(SplitHotKeyValue(16449).modifiers, MOD_CONTROL);
    EXPECT_TRUE(IsAllCapitals(QString()));
    EXPECT_TRUE(IsAllCapitals(QStringLiteral("ALT")));
    EXPECT_FALSE(IsAllCapitals(QStringLiteral("Alt")));
    EXPECT_FALSE(IsAllCapitals(QStringLiteral("ALT1")));
}

} // namespace
