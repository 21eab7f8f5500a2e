#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The decoder of a picture file is chosen by the file's own extension, letter case ignored;
// the folders on its path play no part.
enum class TPictureKind { Jpeg, Gif, Png, Bmp, Ico, Unknown };

TPictureKind PictureKindOf(const QString& path);

// A picture file larger than this is refused unread.
inline constexpr qint64 kMaxPictureFileBytes = 16 * 1024 * 1024;

// The picture in the file stretched to exactly Size, ready to paint; null when the file cannot
// be read or decoded by its kind's decoder.
QImage LoadThumbnail(const QString& path, QSize size);
