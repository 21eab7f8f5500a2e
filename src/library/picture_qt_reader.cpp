#include "library/picture_decoders.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace {

// Qt's BMP reader keeps whatever rows arrived; an uncompressed bitmap whose pixel rows are not
// all in the file is a transfer cut short. A header whose sizes do not add up (no width, no
// bits, rows beyond any file) is no picture either.
bool IsShortBitmap(const QByteArray& bytes) {
    constexpr qsizetype kInfoHeaderEnd = 34;
    if (bytes.size() < kInfoHeaderEnd || qFromLittleEndian<quint32>(bytes.constData() + 14) < 40)
        return false;
    const quint32 compression = qFromLittleEndian<quint32>(bytes.constData() + 30);
    if (compression != 0 && compression != 3) // plain or bit-field rows only
        return false;
    const qint64 width = qFromLittleEndian<qint32>(bytes.constData() + 18);
    const qint64 height = qAbs(qint64(qFromLittleEndian<qint32>(bytes.constData() + 22)));
    const qint64 bits = qFromLittleEndian<quint16>(bytes.constData() + 28);
    if (width <= 0 || bits == 0)
        return true;
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    qint64 rowsBytes = 0;
    qint64 rowsEnd = 0;
    return qMulOverflow(rowBytes, height, &rowsBytes) ||
           qAddOverflow(qint64(qFromLittleEndian<quint32>(bytes.constData() + 10)), rowsBytes,
                        &rowsEnd) ||
           bytes.size() < rowsEnd;
}

// The loader converts a picture of fewer than 32 bits a pixel for painting, holding both.
qint64 ConversionBytes(QSize size, QImage::Format format) {
    const bool painted = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                         format == QImage::Format_ARGB32_Premultiplied;
    const int depth =
        format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    return painted ? 0 : qint64(size.width()) * size.height() * std::max(depth, 8) / 8;
}

} // namespace

QImage DecodeWithQtReader(const QByteArray& bytes, const char* format) {
    if (qstrcmp(format, "bmp") == 0 && IsShortBitmap(bytes))
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    QImageReader::setAllocationLimit(int(kMaxPictureBytes >> 20));
    const QSize size = reader.size();
    if (!size.isValid() ||
        !FitsPictureBound(size.width(), size.height(), ConversionBytes(size, reader.imageFormat())))
        return {};
    // An icon's own header may declare another size than its directory: the picture read counts.
    QImage image;
    if (!reader.read(&image) || !FitsPictureBound(image.width(), image.height(),
                                                  ConversionBytes(image.size(), image.format())))
        return {};
    return image;
}
