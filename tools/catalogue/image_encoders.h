#pragma once

#include "thumbnail.h"

#include <string>

enum class PictureFormat { Bmp, Gif, Jpeg, Png };

// The encoded file's bytes.
std::string encodePicture(const IndexedImage& image, PictureFormat format);
// A JPEG of any colours; rgb holds three bytes per pixel, rows top to bottom.
std::string encodeTrueColourJpeg(int width, int height, const std::vector<uint8_t>& rgb);
// A JPEG in several scans, each refining the whole picture.
std::string encodeProgressiveJpeg(const IndexedImage& image);
// An icon file holding one picture file of Width × Height: a PNG file as it is, or a bitmap
// file's header and rows (the height doubled, as icons count their mask) and an empty mask.
std::string iconOf(const std::string& picture, int width, int height);
