#pragma once

#include <QString>
#include <cstdint>

// The one table between Windows virtual-key codes (the low byte of a hot key value), X11
// keysyms, Qt's key codes and the keys' names on a US keyboard.
struct TVirtualKey {
    quint8 code = 0;
    std::uint32_t keysym = 0;
    int qtKey = 0;
    // Empty for the browser and media keys, which are named by their own table.
    const char* usName = "";
};

// The row of a virtual-key code, nullptr for a code no row carries.
const TVirtualKey* VirtualKeyOfCode(int code);
const TVirtualKey* VirtualKeyOfKeysym(std::uint32_t keysym);
const TVirtualKey* VirtualKeyOfQtKey(int qtKey);
