#pragma once

#include "swf_movie.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace swf {

// Straight (not premultiplied) RGBA, rows top to bottom.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

// Pictures bigger than this are passed over rather than decoded.
inline constexpr int64_t kLargestPicturePixels = 4096 * 4096;

// The picture of the most pixels among the movie's JPEG and lossless bitmap tags that decode;
// none when the movie holds no picture that does.
std::optional<RgbaImage> largestPicture(std::string_view movie, const MovieSummary& summary);

} // namespace swf
