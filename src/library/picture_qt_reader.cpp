#include "library/picture_decoders.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace {

// Qt's BMP reader keeps whatever rows arrived; an uncompressed bitmap whose pixel rows are not
// all in the file is a transfer cut short.
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
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    return bytes.size() < qFromLittleEndian<quint32>(bytes.constData() + 10) + rowBytes * height;
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
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)));
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > kMaxPicturePixels)
        return {};
    QImage image;
    return reader.read(&image) ? image : QImage();
}
