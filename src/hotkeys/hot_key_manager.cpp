#include "hotkeys/hot_key_manager.h"

#include "hotkeys/global_atoms.h"
#include "hotkeys/hot_key_text.h"
#include "hotkeys/virtual_keys.h"

#include <algorithm>

namespace {

constexpr quint32 kNamedBits = kHotKeyKey | kHotKeyShift | kHotKeyCtrl | kHotKeyAlt | kHotKeyWin;

} // namespace

THotKeyManager::THotKeyManager(QObject* owner) : QObject(owner) {
    FWindow = std::make_unique<THotKeyWindow>([this](const THotKeyPress& press) {
        const TVirtualKey* key = VirtualKeyOfKeysym(press.keysym);
        if (key)
            HotKeyWindowProc({WM_HOTKEY, press.id, qintptr(key->code) << 16 | press.modifiers});
    });
}

THotKeyManager::~THotKeyManager() {
    RemoveAllHotKeys();
}

quint16 THotKeyManager::AddHotKeyValue(quint32 value) {
    const quint16 index = TGlobalAtoms::Instance().Add(QStringLiteral("HotKeyManagerHotKey") +
                                                       QString::number(value));
    if (index == 0) {
        FLastRefusal = THotKeyRefusal::NoSuchKey;
        return 0;
    }
    FLastRefusal = Register(index, value);
    if (FLastRefusal != THotKeyRefusal::None) {
        TGlobalAtoms::Instance().Delete(index);
        return 0;
    }
    FList.push_back({value, index});
    return index;
}

// A value with bits that name nothing, or a key no table knows, is no key combination.
THotKeyRefusal THotKeyManager::Register(quint16 index, quint32 value) {
    const THotKeyParts parts = SplitHotKeyValue(value);
    const TVirtualKey* key = VirtualKeyOfCode(parts.key);
    if ((value & ~kNamedBits) != 0 || !key)
        return THotKeyRefusal::NoSuchKey;
    return FWindow->Register(index, parts.modifiers, key->keysym);
}

quint16 THotKeyManager::ChangeHotKeyValue(quint16 index, quint32 newValue) {
    const bool known = std::any_of(FList.begin(), FList.end(), [index](const HotKeyEntry& entry) {
        return entry.index == index;
    });
    if (!known)
        return 0;
    RemoveHotKeyIndex(index);
    return AddHotKeyValue(newValue);
}

bool THotKeyManager::RemoveHotKeyIndex(quint16 index) {
    const auto found = std::find_if(FList.begin(), FList.end(), [index](const HotKeyEntry& entry) {
        return entry.index == index;
    });
    if (found == FList.end())
        return false;
    const bool released = ReleaseEntry(*found);
    FList.erase(found);
    return released;
}

void THotKeyManager::RemoveAllHotKeys() {
    while (!FList.empty()) {
        ReleaseEntry(FList.back());
        FList.pop_back();
    }
}

bool THotKeyManager::ReleaseEntry(const HotKeyEntry& entry) {
    const bool released = FWindow->Unregister(entry.index);
    TGlobalAtoms::Instance().Delete(entry.index);
    return released;
}

qintptr THotKeyManager::HotKeyWindowProc(const TMessage& message) {
    if (message.msg == WM_HOTKEY && OnHotKeyPressed) {
        const quint32 flags = quint32(message.lParam) & 0xFFFF;
        quint32 value = (quint32(message.lParam) >> 16) & 0xFFFF;
        if (flags & MOD_SHIFT)
            value += kHotKeyShift;
        if (flags & MOD_CONTROL)
            value += kHotKeyCtrl;
        if (flags & MOD_ALT)
            value += kHotKeyAlt;
        if (flags & MOD_WIN)
            value += kHotKeyWin;
        const bool registered = std::any_of(
            FList.begin(), FList.end(), [value](const HotKeyEntry& e) { return e.value == value; });
        if (registered)
            OnHotKeyPressed(this, value, quint16(message.wParam & 0xFFFF));
    }
    // The message window's default answer to every message.
    return 0;
}
