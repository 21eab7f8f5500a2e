#pragma once

#include <QString>

// Bits of a hot key value; the low 8 bits are a Windows virtual-key code.
constexpr quint32 kHotKeyShift = 0x2000;
constexpr quint32 kHotKeyCtrl = 0x4000;
constexpr quint32 kHotKeyAlt = 0x8000;
constexpr quint32 kHotKeyWin = 0x10000;
constexpr quint32 kHotKeyKey = 0xFF;

struct THotKeyParts {
    quint32 modifiers = 0; // MOD_* flags
    quint8 key = 0;        // virtual-key code
};
THotKeyParts SplitHotKeyValue(quint32 value);

// "Ctrl+Shift+Alt+Win+A": the modifiers always in that order. Localized text uses the names
// the user's keyboard gives its keys; plain text the names of a US keyboard.
QString HotKeyValueToText(quint32 value, bool localized);
QString ModifierPrefixText(quint32 value, bool localized);
QString KeyNameText(quint32 value, bool localized);

bool IsMediaKey(quint32 key);
// The name of a browser or media key (codes 166 to 183), empty for any other code.
QString MediaKeyName(quint32 key);
// True when every character is one of A to Z, and for an empty text.
bool IsAllCapitals(const QString& text);
