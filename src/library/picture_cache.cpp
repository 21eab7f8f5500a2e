#include "library/picture_cache.h"

#include "library/picture_loader.h"

#include <QDateTime>

namespace {

// What a remembered failure is charged, so that failures are bounded as well.
constexpr qsizetype kFailureCost = 64;

QString KeyOf(const QFileInfo& file, QSize size) {
    return QStringLiteral("%1\n%2\n%3\n%4x%5")
        .arg(file.absoluteFilePath())
        .arg(file.size())
        .arg(file.lastModified().toMSecsSinceEpoch())
        .arg(size.width())
        .arg(size.height());
}

} // namespace

TPictureCache::TPictureCache(qsizetype maxBytes) : FPictures(maxBytes) {}

QImage TPictureCache::Thumbnail(const QFileInfo& file, QSize size) {
    const QString key = KeyOf(file, size);
    if (const QImage* known = FPictures.object(key))
        return *known;
    const QImage picture = LoadThumbnail(file.absoluteFilePath(), size);
    FPictures.insert(key, new QImage(picture),
                     picture.isNull() ? kFailureCost : picture.sizeInBytes());
    return picture;
}
