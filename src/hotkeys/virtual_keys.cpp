#include "hotkeys/virtual_keys.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <array>
#include <vector>

namespace {

std::vector<TVirtualKey> BuildTable() {
    std::vector<TVirtualKey> rows = {
        {0x08, XK_BackSpace, Qt::Key_Backspace, "Backspace"},
        {0x09, XK_Tab, Qt::Key_Tab, "Tab"},
        {0x0D, XK_Return, Qt::Key_Return, "Enter"},
        {0x10, XK_Shift_L, Qt::Key_Shift, "Shift"},
        {0x11, XK_Control_L, Qt::Key_Control, "Ctrl"},
        {0x12, XK_Alt_L, Qt::Key_Alt, "Alt"},
        {0x13, XK_Pause, Qt::Key_Pause, "Pause"},
        {0x14, XK_Caps_Lock, Qt::Key_CapsLock, "Caps Lock"},
        {0x1B, XK_Escape, Qt::Key_Escape, "Esc"},
        {0x20, XK_space, Qt::Key_Space, "Space"},
        {0x21, XK_Prior, Qt::Key_PageUp, "Page Up"},
        {0x22, XK_Next, Qt::Key_PageDown, "Page Down"},
        {0x23, XK_End, Qt::Key_End, "End"},
        {0x24, XK_Home, Qt::Key_Home, "Home"},
        {0x25, XK_Left, Qt::Key_Left, "Left"},
        {0x26, XK_Up, Qt::Key_Up, "Up"},
        {0x27, XK_Right, Qt::Key_Right, "Right"},
        {0x28, XK_Down, Qt::Key_Down, "Down"},
        {0x2C, XK_Print, Qt::Key_Print, "Print Screen"},
        {0x2D, XK_Insert, Qt::Key_Insert, "Insert"},
        {0x2E, XK_Delete, Qt::Key_Delete, "Delete"},
        {0x6A, XK_KP_Multiply, 0, "Num *"},
        {0x6B, XK_KP_Add, 0, "Num +"},
        {0x6D, XK_KP_Subtract, 0, "Num -"},
        {0x6E, XK_KP_Decimal, 0, "Num Del"},
        {0x6F, XK_KP_Divide, 0, "Num /"},
        {0x90, XK_Num_Lock, Qt::Key_NumLock, "Num Lock"},
        {0x91, XK_Scroll_Lock, Qt::Key_ScrollLock, "Scroll Lock"},
        {0xA6, XF86XK_Back, Qt::Key_Back},
        {0xA7, XF86XK_Forward, Qt::Key_Forward},
        {0xA8, XF86XK_Refresh, Qt::Key_Refresh},
        {0xA9, XF86XK_Stop, Qt::Key_Stop},
        {0xAA, XF86XK_Search, Qt::Key_Search},
        {0xAB, XF86XK_Favorites, Qt::Key_Favorites},
        {0xAC, XF86XK_HomePage, Qt::Key_HomePage},
        {0xAD, XF86XK_AudioMute, Qt::Key_VolumeMute},
        {0xAE, XF86XK_AudioLowerVolume, Qt::Key_VolumeDown},
        {0xAF, XF86XK_AudioRaiseVolume, Qt::Key_VolumeUp},
        {0xB0, XF86XK_AudioNext, Qt::Key_MediaNext},
        {0xB1, XF86XK_AudioPrev, Qt::Key_MediaPrevious},
        {0xB2, XF86XK_AudioStop, Qt::Key_MediaStop},
        {0xB3, XF86XK_AudioPlay, Qt::Key_MediaPlay},
        {0xB4, XF86XK_Mail, Qt::Key_LaunchMail},
        {0xB5, XF86XK_AudioMedia, Qt::Key_LaunchMedia},
        {0xB6, XF86XK_MyComputer, Qt::Key_Launch0},
        {0xB7, XF86XK_Calculator, Qt::Key_Launch1},
        {0xBA, XK_semicolon, Qt::Key_Semicolon, ";"},
        {0xBB, XK_equal, Qt::Key_Equal, "="},
        {0xBC, XK_comma, Qt::Key_Comma, ","},
        {0xBD, XK_minus, Qt::Key_Minus, "-"},
        {0xBE, XK_period, Qt::Key_Period, "."},
        {0xBF, XK_slash, Qt::Key_Slash, "/"},
        {0xC0, XK_grave, Qt::Key_QuoteLeft, "`"},
        {0xDB, XK_bracketleft, Qt::Key_BracketLeft, "["},
        {0xDC, XK_backslash, Qt::Key_Backslash, "\\"},
        {0xDD, XK_bracketright, Qt::Key_BracketRight, "]"},
        {0xDE, XK_apostrophe, Qt::Key_Apostrophe, "'"},
    };
    static constexpr std::array kDigits{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    static constexpr std::array kNumpad{"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                                        "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
    for (int i = 0; i < 10; ++i) {
        rows.push_back({quint8('0' + i), std::uint32_t(XK_0 + i), Qt::Key_0 + i, kDigits[i]});
        // Qt tells keypad digits from the others only by a modifier: they come in by keysym.
        rows.push_back({quint8(0x60 + i), std::uint32_t(XK_KP_0 + i), 0, kNumpad[i]});
    }
    static constexpr std::array kLetters{"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                         "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                         "S", "T", "U", "V", "W", "X", "Y", "Z"};
    for (int i = 0; i < 26; ++i)
        rows.push_back({quint8('A' + i), std::uint32_t(XK_a + i), Qt::Key_A + i, kLetters[i]});
    static constexpr std::array kFunctionKeys{
        "F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",  "F9",  "F10", "F11", "F12",
        "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
    for (int i = 0; i < 24; ++i)
        rows.push_back(
            {quint8(0x70 + i), std::uint32_t(XK_F1 + i), Qt::Key_F1 + i, kFunctionKeys[i]});
    return rows;
}

const std::vector<TVirtualKey>& Table() {
    static const std::vector<TVirtualKey> table = BuildTable();
    return table;
}

template <typename Key> const TVirtualKey* Find(Key TVirtualKey::*column, Key value) {
    if (value == Key{})
        return nullptr;
    for (const TVirtualKey& row : Table()) {
        if (row.*column == value)
            return &row;
    }
    return nullptr;
}

} // namespace

const TVirtualKey* VirtualKeyOfCode(int code) {
    if (code <= 0 || code > 0xFF)
        return nullptr;
    return Find(&TVirtualKey::code, quint8(code));
}

const TVirtualKey* VirtualKeyOfKeysym(std::uint32_t keysym) {
    return Find(&TVirtualKey::keysym, keysym);
}

const TVirtualKey* VirtualKeyOfQtKey(int qtKey) {
    return Find(&TVirtualKey::qtKey, qtKey);
}
