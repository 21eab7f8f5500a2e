#include "library/picture_loader.h"

#include "library/picture_decoders.h"

#include <QFile>
#include <QFileInfo>

namespace {

// What the file holds and no more: a request for the limit would allocate the limit.
QByteArray ReadBounded(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPictureFileBytes)
        return {};
    return file.read(file.size());
}

QImage Decode(const QString& path, QSize size) {
    const TPictureKind kind = PictureKindOf(path);
    if (kind == TPictureKind::Unknown)
        return {};
    const QByteArray bytes = ReadBounded(path);
    switch (kind) {
    case TPictureKind::Jpeg:
        return DecodeJpeg(bytes, size);
    case TPictureKind::Gif:
        return DecodeGif(bytes);
    case TPictureKind::Png:
        return DecodePng(bytes);
    case TPictureKind::Bmp:
        return DecodeWithQtReader(bytes, "bmp");
    case TPictureKind::Ico:
        return DecodeIco(bytes);
    case TPictureKind::Unknown:
        break;
    }
    return {};
}

} // namespace

TPictureKind PictureKindOf(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
        return TPictureKind::Jpeg;
    if (extension == QLatin1String("gif"))
        return TPictureKind::Gif;
    if (extension == QLatin1String("png"))
        return TPictureKind::Png;
    if (extension == QLatin1String("bmp"))
        return TPictureKind::Bmp;
    if (extension == QLatin1String("ico"))
        return TPictureKind::Ico;
    return TPictureKind::Unknown;
}

QImage LoadThumbnail(const QString& path, QSize size) {
    QImage picture = Decode(path, size);
    if (picture.isNull())
        return {};
    // Premultiplied or opaque pixels are the ones the painter draws without converting, and the
    // ones the scaler takes as they are. Converted in place, a 32-bit picture costs no copy.
    picture.convertTo(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                : QImage::Format_RGB32);
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
