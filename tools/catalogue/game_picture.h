#pragma once

#include "image_encoders.h"
#include "swf_movie.h"

#include <string>
#include <string_view>

// The size at which the client shows a game's picture.
inline constexpr int kGamePictureWidth = 121;
inline constexpr int kGamePictureHeight = 71;

struct GamePicture {
    PictureFormat format = PictureFormat::Png;
    std::string bytes;
};

// The movie's largest embedded picture fitted into the client's frame (a JPEG), or, for a movie
// without one, a card with the game's name on the stage's background colour (a PNG).
GamePicture gamePicture(std::string_view movie, const swf::MovieSummary& summary,
                        std::string_view name);
