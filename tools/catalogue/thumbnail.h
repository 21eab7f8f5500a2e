#pragma once

#include "swf_games.h"

#include <string_view>
#include <vector>

// A small picture with at most 256 colours, so every picture format can hold it exactly.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<swf::Rgb> palette;
    std::vector<uint8_t> pixels; // one palette index per pixel, rows top to bottom

    std::vector<uint8_t> rgbRows() const;
};

// The game's colours and a bar pattern taken from its name, so every thumbnail differs.
IndexedImage drawThumbnail(const swf::GamePalette& colours, std::string_view name);
