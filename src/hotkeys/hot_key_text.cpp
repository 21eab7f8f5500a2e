#include "hotkeys/hot_key_text.h"

#include "hotkeys/virtual_keys.h"
#include "platform/hot_key_window.h"

#include <array>

namespace {

constexpr quint32 kVkShift = 16;
constexpr quint32 kVkControl = 17;
constexpr quint32 kVkMenu = 18;
constexpr quint32 kFirstMediaKey = 166;
constexpr quint32 kLastMediaKey = 183;

// The modifier names of localized text, taken from the keyboard once, on first use.
struct TModifierNames {
    QString shift, ctrl, alt, win;

    TModifierNames() {
        shift = KeyNameText(kVkShift, true);
        ctrl = KeyNameText(kVkControl, true);
        alt = KeyNameText(kVkMenu, true);
        // A keyboard that names Alt in capitals gets Win in capitals too.
        win = IsAllCapitals(alt) ? QStringLiteral("WIN") : QStringLiteral("Win");
    }
};

const TModifierNames& LocalizedModifierNames() {
    static const TModifierNames names;
    return names;
}

} // namespace

THotKeyParts SplitHotKeyValue(quint32 value) {
    THotKeyParts parts;
    parts.key = quint8(value & kHotKeyKey);
    if (value & kHotKeyWin)
        parts.modifiers |= MOD_WIN;
    if (value & kHotKeyAlt)
        parts.modifiers |= MOD_ALT;
    if (value & kHotKeyCtrl)
        parts.modifiers |= MOD_CONTROL;
    if (value & kHotKeyShift)
        parts.modifiers |= MOD_SHIFT;
    return parts;
}

QString HotKeyValueToText(quint32 value, bool localized) {
    return ModifierPrefixText(value, localized) + KeyNameText(value, localized);
}

QString ModifierPrefixText(quint32 value, bool localized) {
    const TModifierNames* names = localized ? &LocalizedModifierNames() : nullptr;
    const std::array<std::pair<quint32, QString>, 4> modifiers{{
        {kHotKeyCtrl, names ? names->ctrl : QStringLiteral("Ctrl")},
        {kHotKeyShift, names ? names->shift : QStringLiteral("Shift")},
        {kHotKeyAlt, names ? names->alt : QStringLiteral("Alt")},
        {kHotKeyWin, names ? names->win : QStringLiteral("Win")},
    }};
    QString prefix;
    for (const auto& [bit, name] : modifiers) {
        if (value & bit)
            prefix += name + QLatin1Char('+');
    }
    return prefix;
}

// X keyboards name their keys by keysym, the same names on every layout; what the keyboard
// itself tells is whether it has the key at all. One that cannot be asked (no X11 display) is
// taken to have every key.
QString KeyNameText(quint32 value, bool localized) {
    const quint32 key = value & kHotKeyKey;
    QString name;
    if (const TVirtualKey* row = VirtualKeyOfCode(int(key))) {
        if (!localized || KeyboardHasKeysym(row->keysym).value_or(true))
            name = QString::fromLatin1(row->usName);
    }
    if (name.size() <= 1 && IsMediaKey(key))
        name = MediaKeyName(key);
    return name;
}

bool IsMediaKey(quint32 key) {
    return key >= kFirstMediaKey && key <= kLastMediaKey;
}

QString MediaKeyName(quint32 key) {
    static const std::array<const char*, kLastMediaKey - kFirstMediaKey + 1> names{
        "Browser Back",        "Browser Forward",    "Browser Refresh",    "Browser Stop",
        "Browser Search",      "Browser Favorites",  "Browser Start/Home", "Volume Mute",
        "Volume Down",         "Volume Up",          "Next Track",         "Previous Track",
        "Stop Media",          "Play/Pause Media",   "Start Mail",         "Select Media",
        "Start Application 1", "Start Application 2"};
    return IsMediaKey(key) ? QString::fromLatin1(names[key - kFirstMediaKey]) : QString();
}

bool IsAllCapitals(const QString& text) {
    for (QChar c : text) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            return false;
    }
    return true;
}
