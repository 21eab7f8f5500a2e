#pragma once

#include "thumbnail.h"

#include <string>

enum class PictureFormat { Bmp, Gif, Jpeg, Png };

// The encoded file's bytes.
std::string encodePicture(const IndexedImage& image, PictureFormat format);
