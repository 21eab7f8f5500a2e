#include "swf_pictures.h"

#include "swf_tags.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <zlib.h>

namespace swf {
namespace {

constexpr size_t kPicturesTried = 8;

struct Size {
    int width = 0;
    int height = 0;
    int64_t pixels() const { return int64_t{width} * height; }
};

uint32_t bigEndian16(std::string_view bytes, size_t offset) {
    return static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset]) << 8 |
                                 static_cast<uint8_t>(bytes[offset + 1]));
}

uint32_t littleEndian16(std::string_view bytes, size_t offset) {
    return static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset]) |
                                 static_cast<uint8_t>(bytes[offset + 1]) << 8);
}

// Old tools wrote an empty JPEG (end marker, then start marker) before the real one.
std::string_view withoutBogusStart(std::string_view jpeg) {
    if (jpeg.substr(0, 4) == "\xff\xd9\xff\xd8")
        return jpeg.substr(4);
    return jpeg;
}

// The frame size from the first start-of-frame marker, walking the segments by their lengths.
std::optional<Size> jpegSize(std::string_view jpeg) {
    size_t at = 2;
    if (jpeg.substr(0, 2) != "\xff\xd8")
        return std::nullopt;
    while (at + 9 <= jpeg.size()) {
        if (static_cast<uint8_t>(jpeg[at]) != 0xff)
            return std::nullopt;
        const auto marker = static_cast<uint8_t>(jpeg[at + 1]);
        const bool startOfFrame =
            marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
        if (startOfFrame)
            return Size{static_cast<int>(bigEndian16(jpeg, at + 7)),
                        static_cast<int>(bigEndian16(jpeg, at + 5))};
        at += 2 + bigEndian16(jpeg, at + 2);
    }
    return std::nullopt;
}

struct JpegParts {
    std::string_view jpeg;
    std::string_view packedAlpha; // empty when the picture has no alpha
};

std::optional<JpegParts> jpegParts(uint16_t code, std::string_view body) {
    const size_t head = code == DefineBitsJPEG4 ? 8 : code == DefineBitsJPEG3 ? 6 : 2;
    if (body.size() < head)
        return std::nullopt;
    if (code == DefineBitsJPEG2)
        return JpegParts{withoutBogusStart(body.substr(head)), {}};
    const uint32_t jpegLength = static_cast<uint32_t>(static_cast<uint8_t>(body[2])) |
                                static_cast<uint32_t>(static_cast<uint8_t>(body[3])) << 8 |
                                static_cast<uint32_t>(static_cast<uint8_t>(body[4])) << 16 |
                                static_cast<uint32_t>(static_cast<uint8_t>(body[5])) << 24;
    if (jpegLength > body.size() - head)
        return std::nullopt;
    return JpegParts{withoutBogusStart(body.substr(head, jpegLength)),
                     body.substr(head + jpegLength)};
}

std::optional<Size> pictureSize(uint16_t code, std::string_view body) {
    if (code == DefineBitsLossless || code == DefineBitsLossless2) {
        if (body.size() < 7)
            return std::nullopt;
        return Size{static_cast<int>(littleEndian16(body, 3)),
                    static_cast<int>(littleEndian16(body, 5))};
    }
    const auto parts = jpegParts(code, body);
    return parts ? jpegSize(parts->jpeg) : std::nullopt;
}

// Exactly `size` bytes from a zlib stream, or none.
std::optional<std::vector<uint8_t>> inflateExactly(std::string_view packed, size_t size) {
    std::vector<uint8_t> out(size);
    uLongf produced = static_cast<uLongf>(size);
    const int result =
        uncompress(out.data(), &produced, reinterpret_cast<const Bytef*>(packed.data()),
                   static_cast<uLong>(packed.size()));
    if ((result != Z_OK && result != Z_BUF_ERROR) || produced != size)
        return std::nullopt;
    return out;
}

struct JpegFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leaveJpeg(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->jump, 1);
}

// Decodes into `image`; false when libjpeg gives up. Nothing with a destructor may live in
// this frame across the longjmp.
bool decodeJpegInto(std::string_view jpeg, RgbaImage& image) {
    jpeg_decompress_struct info{};
    JpegFailure failure{};
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = leaveJpeg;
    failure.manager.output_message = [](j_common_ptr) {
    };
    if (setjmp(failure.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    if (static_cast<int>(info.output_width) != image.width ||
        static_cast<int>(info.output_height) != image.height) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.rgba.data() + size_t{info.output_scanline} * 4 * info.output_width;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

std::optional<RgbaImage> decodeJpeg(uint16_t code, std::string_view body, Size size) {
    const auto parts = jpegParts(code, body);
    RgbaImage image{size.width, size.height, std::vector<uint8_t>(size_t(size.pixels()) * 4)};
    if (!parts || !decodeJpegInto(parts->jpeg, image))
        return std::nullopt;
    if (!parts->packedAlpha.empty())
        if (auto alpha = inflateExactly(parts->packedAlpha, size_t(size.pixels())))
            for (size_t i = 0; i < alpha->size(); ++i)
                image.rgba[i * 4 + 3] = (*alpha)[i];
    return image;
}

// Colour components arrive premultiplied by alpha in DefineBitsLossless2.
void unpremultiply(uint8_t* pixel) {
    const uint8_t alpha = pixel[3];
    if (alpha == 0 || alpha == 255)
        return;
    for (int i = 0; i < 3; ++i)
        pixel[i] = static_cast<uint8_t>(std::min(255, pixel[i] * 255 / alpha));
}

std::optional<RgbaImage> decodeLossless(uint16_t code, std::string_view body, Size size) {
    const bool withAlpha = code == DefineBitsLossless2;
    const auto format = static_cast<uint8_t>(body[2]);
    const size_t width = size_t(size.width);
    const size_t height = size_t(size.height);
    size_t tableEntries = 0;
    size_t bytesPerPixel = 4;
    size_t headSize = 7;
    if (format == 3) {
        if (body.size() < 8)
            return std::nullopt;
        tableEntries = size_t(static_cast<uint8_t>(body[7])) + 1;
        bytesPerPixel = 1;
        headSize = 8;
    } else if (format == 4 && !withAlpha) {
        bytesPerPixel = 2;
    } else if (format != 5) {
        return std::nullopt;
    }
    const size_t entrySize = withAlpha ? 4 : 3;
    const size_t rowSize = (width * bytesPerPixel + 3) & ~size_t{3};
    const size_t tableSize = tableEntries * entrySize;
    const auto data = inflateExactly(body.substr(headSize), tableSize + rowSize * height);
    if (!data)
        return std::nullopt;
    RgbaImage image{size.width, size.height, std::vector<uint8_t>(width * height * 4)};
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) {
            const uint8_t* from = data->data() + tableSize + y * rowSize + x * bytesPerPixel;
            uint8_t* to = &image.rgba[(y * width + x) * 4];
            if (format == 3) {
                if (*from >= tableEntries)
                    continue; // stays transparent
                const uint8_t* entry = data->data() + size_t{*from} * entrySize;
                std::copy_n(entry, 3, to);
                to[3] = withAlpha ? entry[3] : 255;
            } else if (format == 4) {
                const unsigned pix = unsigned(from[0]) << 8 | from[1];
                to[0] = static_cast<uint8_t>((pix >> 10 & 31) * 255 / 31);
                to[1] = static_cast<uint8_t>((pix >> 5 & 31) * 255 / 31);
                to[2] = static_cast<uint8_t>((pix & 31) * 255 / 31);
                to[3] = 255;
            } else {
                std::copy_n(from + 1, 3, to);
                to[3] = withAlpha ? from[0] : 255;
            }
            if (withAlpha)
                unpremultiply(to);
        }
    return image;
}

std::optional<RgbaImage> decodePicture(uint16_t code, std::string_view body, Size size) {
    if (code == DefineBitsLossless || code == DefineBitsLossless2)
        return decodeLossless(code, body, size);
    return decodeJpeg(code, body, size);
}

} // namespace

std::optional<RgbaImage> largestPicture(std::string_view movie, const MovieSummary& summary) {
    struct Candidate {
        const PictureTag* tag;
        Size size;
    };
    std::vector<Candidate> candidates;
    for (const PictureTag& tag : summary.pictures) {
        if (tag.offset > movie.size() || tag.length > movie.size() - tag.offset)
            continue;
        const auto size = pictureSize(tag.code, movie.substr(tag.offset, tag.length));
        if (size && size->width > 0 && size->height > 0 && size->pixels() <= kLargestPicturePixels)
            candidates.push_back({&tag, *size});
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return a.size.pixels() > b.size.pixels();
    });
    // A damaged big picture gives way to the next smaller one, a few times: a movie of
    // thousands of damaged pictures must not cost thousands of attempts.
    candidates.resize(std::min(candidates.size(), kPicturesTried));
    for (const Candidate& candidate : candidates)
        if (auto image = decodePicture(candidate.tag->code,
                                       movie.substr(candidate.tag->offset, candidate.tag->length),
                                       candidate.size))
            return image;
    return std::nullopt;
}

} // namespace swf
