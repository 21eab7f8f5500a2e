#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// Modifier flags of a system hot key, numbered as the Windows hot key calls number them.
constexpr std::uint32_t MOD_ALT = 1;
constexpr std::uint32_t MOD_CONTROL = 2;
constexpr std::uint32_t MOD_SHIFT = 4;
constexpr std::uint32_t MOD_WIN = 8;

// Why a hot key was not registered.
enum class THotKeyRefusal {
    None,
    Taken,        // another program (or this one) already holds the combination
    NoSuchKey,    // the keyboard has no key for it, or the combination is not a key at all
    NoGlobalKeys, // this session lets no program take keys system-wide (no X11 display)
};

struct THotKeyPress {
    std::uint16_t id = 0;
    std::uint32_t modifiers = 0; // MOD_* flags
    std::uint32_t keysym = 0;
};

// The system side of a hot key manager, the role of its hidden window: it registers key
// combinations system-wide under identifiers and reports each press of one. A combination is
// an X11 keysym with MOD_* flags; it is caught whatever window has the keyboard, whichever
// lock keys (Num Lock, Caps Lock, Scroll Lock) are on.
class THotKeyWindow {
public:
    explicit THotKeyWindow(std::function<void(const THotKeyPress&)> onPress);
    ~THotKeyWindow();
    THotKeyWindow(const THotKeyWindow&) = delete;
    THotKeyWindow& operator=(const THotKeyWindow&) = delete;

    THotKeyRefusal Register(std::uint16_t id, std::uint32_t modifiers, std::uint32_t keysym);
    // True when a combination was registered under Id and is now released.
    bool Unregister(std::uint16_t id);

    // Called for every press of a registered combination.
    void Deliver(const THotKeyPress& press) const;

private:
    std::function<void(const THotKeyPress&)> FOnPress;
};

// Whether the keyboard has a key that gives Keysym; nothing when no keyboard can be asked.
std::optional<bool> KeyboardHasKeysym(std::uint32_t keysym);

// The keysym the key with this X11 key code gives unshifted; 0 when unknown.
std::uint32_t UnshiftedKeysym(std::uint32_t keycode);
