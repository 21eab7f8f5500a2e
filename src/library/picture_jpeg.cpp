#include "library/picture_decoders.h"

#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

namespace {

// TurboJPEG's own limit: a hostile progressive file can hold thousands of scans, each costing
// a pass over the whole picture.
constexpr int kMaxScans = 500;

struct TJpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

// Data that ends before the picture does (a transfer cut short, a header claiming more than
// the file holds) would otherwise show as a grey lower part.
void FailOnPrematureEnd(j_common_ptr info, int level) {
    const int code = info->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
        JumpOut(info);
}

void Silence(j_common_ptr) {}

void LimitScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
        JumpOut(info);
}

// The smallest eighth that still gives at least Target's size in both directions.
unsigned ScaleEighths(JDIMENSION width, JDIMENSION height, QSize target) {
    for (unsigned eighths = 1; eighths < 8; ++eighths) {
        if (qint64(width) * eighths > 8 * qint64(target.width() - 1) &&
            qint64(height) * eighths > 8 * qint64(target.height() - 1))
            return eighths;
    }
    return 8;
}

bool IsCmyk(const jpeg_decompress_struct& info) {
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

// Adobe writes CMYK inverted; others store ink amounts.
void CmykToRgb(QImage& image, bool inverted) {
    for (int y = 0; y < image.height(); ++y) {
        auto* pixel = reinterpret_cast<uchar*>(image.scanLine(y));
        auto* out = reinterpret_cast<QRgb*>(pixel);
        for (int x = 0; x < image.width(); ++x, pixel += 4) {
            const auto ink = [&](int i) {
                return inverted ? pixel[i] : 255 - pixel[i];
            };
            const int k = ink(3);
            out[x] = qRgb(ink(0) * k / 255, ink(1) * k / 255, ink(2) * k / 255);
        }
    }
}

// Holds nothing with a destructor of its own: a decoding error jumps back into it.
bool Decode(jpeg_decompress_struct& info, TJpegError& error, const QByteArray& bytes, QSize target,
            QImage& image) {
    if (setjmp(error.jump))
        return false;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.scale_num = ScaleEighths(info.image_width, info.image_height, target);
    info.scale_denom = 8;
    info.out_color_space =
        IsCmyk(info) ? JCS_CMYK : (Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB);
    jpeg_calc_output_dimensions(&info);
    if (!FitsPictureBound(info.output_width, info.output_height, 0))
        return false;
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    // Everything the library allocates counts against what the pixels leave over; the
    // whole-picture buffers of progressive and multi-scan files fail beyond it instead of growing.
    info.mem->max_memory_to_use = long(kMaxPictureBytes - image.sizeInBytes());
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    if (IsCmyk(info))
        CmykToRgb(image, info.saw_Adobe_marker);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& bytes, QSize target) {
    jpeg_decompress_struct info{};
    TJpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JumpOut;
    error.manager.emit_message = FailOnPrematureEnd;
    error.manager.output_message = Silence;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = LimitScans;
    jpeg_create_decompress(&info);
    info.progress = &progress;
    QImage image;
    const bool decoded = Decode(info, error, bytes, target, image);
    jpeg_destroy_decompress(&info);
    return decoded ? image : QImage();
}
