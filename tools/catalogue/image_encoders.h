#pragma once

#include "thumbnail.h"

#include <string>

enum class PictureFormat { Bmp, Gif, Jpeg, Png };

// The encoded file's bytes.
std::string encodePicture(const IndexedImage& image, PictureFormat format);
// A JPEG in several scans, each refining the whole picture.
std::string encodeProgressiveJpeg(const IndexedImage& image);
