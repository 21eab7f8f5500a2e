#pragma once

#include <QCache>
#include <QFileInfo>
#include <QImage>
#include <QSize>

// Decoded thumbnails by file path, length and modification time, so that coming back to a
// page decodes nothing that is unchanged on disk. The least recently used go first once the
// total passes the bound.
class TPictureCache {
public:
    // Room for the thumbnails of ten thousand games at grid size. The grid shares its pictures
    // with the cache, so only those of pages not shown cost memory of their own.
    static constexpr qsizetype kDefaultMaxBytes = 384 * 1024 * 1024;

    explicit TPictureCache(qsizetype maxBytes = kDefaultMaxBytes);

    // LoadThumbnail(File, Size), from memory when this file was seen unchanged before. Files
    // that fail to decode are remembered too, so a broken file costs one attempt per change.
    QImage Thumbnail(const QFileInfo& file, QSize size);

    qsizetype Bytes() const { return FPictures.totalCost(); }

private:
    QCache<QString, QImage> FPictures;
};
