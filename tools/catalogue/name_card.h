#pragma once

#include "thumbnail.h"

#include <string_view>

// The name (UTF-8) written in the middle of a card of the given colour, in black or white,
// whichever stands out; lines break where the width is full.
IndexedImage nameCard(std::string_view name, swf::Rgb background, int width, int height);
