#pragma once

#include <cstdint>

namespace swf {

// Tag codes of the SWF file format used by the writer (and read back by the tests).
enum TagCode : uint16_t {
    End = 0,
    ShowFrame = 1,
    DefineShape = 2,
    SetBackgroundColor = 9,
    DoAction = 12,
    PlaceObject2 = 26,
    RemoveObject2 = 28,
    DefineBitsLossless2 = 36,
    DefineSprite = 39,
    FileAttributes = 69,
};

} // namespace swf
