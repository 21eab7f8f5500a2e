#pragma once

#include <cstdint>

namespace swf {

// Tag codes of the SWF file format: those the writer makes and those the catalogue reads.
enum TagCode : uint16_t {
    End = 0,
    ShowFrame = 1,
    DefineShape = 2,
    SetBackgroundColor = 9,
    DoAction = 12,
    DefineBitsLossless = 20,
    DefineBitsJPEG2 = 21,
    PlaceObject2 = 26,
    RemoveObject2 = 28,
    DefineBitsJPEG3 = 35,
    DefineBitsLossless2 = 36,
    DefineSprite = 39,
    FileAttributes = 69,
    DefineBitsJPEG4 = 90,
};

} // namespace swf
