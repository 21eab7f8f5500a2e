#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Decoders of the thumbnail kinds. Each returns a null image when the bytes are not a whole
// picture of its kind (empty, truncated, mislabelled, hostile). Whatever a header declares, a
// decoder holds at most kMaxPictureBytes at once, its pixels and its own working memory
// together; its time is bounded by those pixels and the bytes it is given.

// Far beyond any thumbnail, far below what a header can claim.
inline constexpr qint64 kMaxPictureBytes = qint64(64) << 20;
// The most 32-bit pixels a picture can have, were its decoder to need nothing besides.
inline constexpr qint64 kMaxPicturePixels = kMaxPictureBytes / 4;

// Whether Width × Height 32-bit pixels and WorkingBytes of decoder memory besides stay within
// kMaxPictureBytes. Sizes straight from a header are welcome: nothing here can overflow.
inline bool FitsPictureBound(qint64 width, qint64 height, qint64 workingBytes) {
    if (width < 0 || height < 0 || workingBytes < 0 || width > kMaxPicturePixels ||
        height > kMaxPicturePixels || workingBytes > kMaxPictureBytes)
        return false;
    const qint64 pixels = width * height;
    return pixels <= kMaxPicturePixels && pixels * 4 + workingBytes <= kMaxPictureBytes;
}

// Scaled while decoding to the smallest size that still covers Target in both directions, so a
// photograph costs about as much as a thumbnail.
QImage DecodeJpeg(const QByteArray& bytes, QSize target);
// The first frame on its logical screen, its transparent colour kept.
QImage DecodeGif(const QByteArray& bytes);
QImage DecodePng(const QByteArray& bytes);
// Qt's own readers; Format is "bmp" or "ico".
QImage DecodeWithQtReader(const QByteArray& bytes, const char* format);
// The first picture of an icon file. Qt's reader takes bitmap icons; a PNG icon goes to ours,
// since Qt's PNG reader believes whatever a chunk declares. An entry beyond the file is no icon.
QImage DecodeIco(const QByteArray& bytes);
