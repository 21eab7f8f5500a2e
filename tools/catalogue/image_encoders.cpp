#include "image_encoders.h"

#include <csetjmp>
#include <cstdio>
#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <stdexcept>

namespace {

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

std::string encodeBmp(const IndexedImage& image) {
    // 24-bit bottom-up rows, each padded to four bytes.
    const uint32_t rowSize = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t dataSize = rowSize * static_cast<uint32_t>(image.height);
    std::string out = "BM";
    putLittleEndian(out, 54 + dataSize, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, 54, 4);
    putLittleEndian(out, 40, 4);
    putLittleEndian(out, static_cast<uint32_t>(image.width), 4);
    putLittleEndian(out, static_cast<uint32_t>(image.height), 4);
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, 24, 2);
    putLittleEndian(out, 0, 4); // no compression
    putLittleEndian(out, dataSize, 4);
    putLittleEndian(out, 2835, 4); // 72 dpi
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, 0, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        const size_t rowStart = out.size();
        for (int x = 0; x < image.width; ++x) {
            const swf::Rgb& c =
                image.palette[image.pixels[static_cast<size_t>(y) * image.width + x]];
            out.append({static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r)});
        }
        out.resize(rowStart + rowSize, '\0');
    }
    return out;
}

int appendGifBytes(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
    return length;
}

std::string encodeGif(const IndexedImage& image) {
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendGifBytes, &error);
    if (!gif)
        throw std::runtime_error(GifErrorString(error));
    // GIF colour tables hold a power of two entries.
    int tableSize = 2;
    while (tableSize < static_cast<int>(image.palette.size()))
        tableSize *= 2;
    std::vector<GifColorType> colours(static_cast<size_t>(tableSize), GifColorType{0, 0, 0});
    for (size_t i = 0; i < image.palette.size(); ++i)
        colours[i] = {image.palette[i].r, image.palette[i].g, image.palette[i].b};
    ColorMapObject* map = GifMakeMapObject(tableSize, colours.data());
    std::vector<GifPixelType> row(static_cast<size_t>(image.width));
    bool ok = EGifPutScreenDesc(gif, image.width, image.height, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height; ++y) {
        const auto* source = image.pixels.data() + static_cast<size_t>(y) * image.width;
        row.assign(source, source + image.width);
        ok = EGifPutLine(gif, row.data(), image.width) == GIF_OK;
    }
    GifFreeMapObject(map);
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    if (!ok)
        throw std::runtime_error("GIF encoding failed");
    return out;
}

std::string encodeJpeg(int width, int height, const std::vector<uint8_t>& rgb, bool progressive) {
    // The default error handler ends the process; the input here is always well-formed.
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg takes rows as mutable pointers but only reads them.
        JSAMPROW row = const_cast<uint8_t*>(rgb.data()) +
                       static_cast<size_t>(info.next_scanline) * static_cast<size_t>(width) * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    free(buffer);
    return out;
}

void appendPngBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), length);
}

// Kept apart so nothing that changes after setjmp lives in the frame libpng may jump back to.
bool writePng(png_structp png, png_infop info, const IndexedImage& image,
              const std::vector<uint8_t>& rgb, std::string& out) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &out, appendPngBytes, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, rgb.data() + static_cast<size_t>(y) * image.width * 3);
    png_write_end(png, nullptr);
    return true;
}

std::string encodePng(const IndexedImage& image) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const std::vector<uint8_t> rgb = image.rgbRows();
    std::string out;
    const bool ok = info && writePng(png, info, image, rgb, out);
    png_destroy_write_struct(&png, &info);
    if (!ok)
        throw std::runtime_error("PNG encoding failed");
    return out;
}

} // namespace

std::string encodePicture(const IndexedImage& image, PictureFormat format) {
    switch (format) {
    case PictureFormat::Bmp:
        return encodeBmp(image);
    case PictureFormat::Gif:
        return encodeGif(image);
    case PictureFormat::Jpeg:
        return encodeJpeg(image.width, image.height, image.rgbRows(), false);
    case PictureFormat::Png:
        return encodePng(image);
    }
    throw std::invalid_argument("unknown picture format");
}

std::string encodeProgressiveJpeg(const IndexedImage& image) {
    return encodeJpeg(image.width, image.height, image.rgbRows(), true);
}

std::string encodeTrueColourJpeg(int width, int height, const std::vector<uint8_t>& rgb) {
    return encodeJpeg(width, height, rgb, false);
}

std::string iconOf(const std::string& picture, int width, int height) {
    const bool bitmap = picture.compare(0, 2, "BM") == 0;
    std::string payload = bitmap ? picture.substr(14) : picture;
    if (bitmap) {
        const uint32_t doubled = static_cast<uint32_t>(2 * height);
        for (int i = 0; i < 4; ++i)
            payload[8 + i] = static_cast<char>((doubled >> (8 * i)) & 0xff);
        payload.append(static_cast<size_t>((width + 31) / 32 * 4 * height), '\0');
    }
    std::string icon;
    putLittleEndian(icon, 0, 2);
    putLittleEndian(icon, 1, 2);                     // an icon, not a cursor
    putLittleEndian(icon, 1, 2);                     // one picture
    icon.push_back(static_cast<char>(width & 0xff)); // 256 is written as 0
    icon.push_back(static_cast<char>(height & 0xff));
    putLittleEndian(icon, 0, 2);
    putLittleEndian(icon, 1, 2);
    putLittleEndian(icon, bitmap ? 24 : 32, 2);
    putLittleEndian(icon, static_cast<uint32_t>(payload.size()), 4);
    putLittleEndian(icon, 22, 4);
    return icon + payload;
}
