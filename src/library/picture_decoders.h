#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Decoders of the thumbnail kinds. Each returns a null image when the bytes are not a whole
// picture of its kind (empty, truncated, mislabelled, hostile) and never allocates for a
// picture larger than kMaxPicturePixels, whatever its header declares.

// 64 MiB of 32-bit pixels: far beyond any thumbnail, far below what a header can claim.
inline constexpr qint64 kMaxPicturePixels = qint64(1) << 24;

// Scaled while decoding to the smallest size that still covers Target in both directions, so a
// photograph costs about as much as a thumbnail.
QImage DecodeJpeg(const QByteArray& bytes, QSize target);
// The first frame on its logical screen, its transparent colour kept.
QImage DecodeGif(const QByteArray& bytes);
QImage DecodePng(const QByteArray& bytes);
// Qt's own readers; Format is "bmp" or "ico".
QImage DecodeWithQtReader(const QByteArray& bytes, const char* format);
