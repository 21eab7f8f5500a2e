#include "library/picture_decoders.h"

#include <QBuffer>
#include <QImageReader>

QImage DecodeWithQtReader(const QByteArray& bytes, const char* format) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)));
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > kMaxPicturePixels)
        return {};
    QImage image;
    return reader.read(&image) ? image : QImage();
}
