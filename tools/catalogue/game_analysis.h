#pragma once

#include "game_picture.h"
#include "swf_movie.h"

#include <filesystem>
#include <string>

// What the catalogue knows of a game from its file alone.
struct GameFacts {
    swf::MovieSummary summary;
    std::string sha256; // lower-case hex
    GamePicture picture;
};

// Reads the file whole and judges it; throws swf::MovieError when it is not a movie that can be
// served, std::runtime_error when it cannot be read. name: for the card of a game without
// pictures.
GameFacts analyseGame(const std::filesystem::path& file, std::string_view name);
