#include "library/picture_decoders.h"

#include <cstring>
#include <png.h>

namespace {

// No chunk is read or inflated beyond this.
constexpr png_alloc_size_t kMaxChunkBytes = 4 * 1024 * 1024;
// libpng keeps two rows of up to 64-bit pixels (the current and the previous one) besides ours.
constexpr qint64 kRowBufferBytesPerPixel = 2 * 8;

// Every ancillary chunk but transparency: the thumbnail uses none of them, and the text, profile
// and suggested-palette chunks allocate and inflate whatever the file declares.
constexpr png_byte kSkippedChunks[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0bKGD\0cHRM\0gAMA\0"
                                      "hIST\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sRGB\0sTER\0tIME";

struct TPngInput {
    const QByteArray& bytes;
    size_t offset = 0;
};

void ReadPngBytes(png_structp png, png_bytep out, size_t length) {
    auto* input = static_cast<TPngInput*>(png_get_io_ptr(png));
    if (length > size_t(input->bytes.size()) - input->offset)
        png_error(png, "truncated");
    std::memcpy(out, input->bytes.constData() + input->offset, length);
    input->offset += length;
}

[[noreturn]] void JumpOut(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void Silence(png_structp, png_const_charp) {}

// Every kind of PNG comes out as 8-bit blue, green, red, alpha: QImage's ARGB32 in memory.
void ExpandToArgb32(png_structp png) {
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        png_set_bgr(png);
        png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    } else {
        png_set_swap_alpha(png);
        png_set_filler(png, 0xff, PNG_FILLER_BEFORE);
    }
}

// Holds nothing with a destructor of its own: a decoding error jumps back into it.
bool Decode(png_structp png, png_infop info, QImage& image) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!FitsPictureBound(width, height, kRowBufferBytesPerPixel * width))
        return false;
    ExpandToArgb32(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(width) * 4)
        return false;
    image = QImage(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        return false;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < int(height); ++y)
            png_read_row(png, image.scanLine(y), nullptr);
    }
    png_read_end(png, nullptr);
    return true;
}

} // namespace

QImage DecodePng(const QByteArray& bytes) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOut, Silence);
    if (png == nullptr)
        return {};
    png_infop info = png_create_info_struct(png);
    TPngInput input{bytes};
    png_set_read_fn(png, &input, ReadPngBytes);
    // A limit libpng only warns about is no limit: a chunk declaring gigabytes would be
    // allocated before the file turns out to hold a few bytes.
    png_set_benign_errors(png, 0);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkippedChunks,
                                int(sizeof(kSkippedChunks) / 5));
    QImage image;
    const bool decoded = info != nullptr && Decode(png, info, image);
    png_destroy_read_struct(&png, &info, nullptr);
    return decoded ? image : QImage();
}
