#include "library/library_pictures.h"

#include "common/file_names.h"
#include "common/folder_lookup.h"

#include <QFileInfo>

TPictureRef PlaceholderOf(const TPlaceholders& placeholders, const QString& pictureName) {
    const TPictureRef own = placeholders.value(QFileInfo(pictureName).suffix().toLower());
    return own.IsNull() ? placeholders.value(QStringLiteral("gif")) : own;
}

TLibraryPictures::TLibraryPictures(const QString& programFolder)
    : FFolder(FindInFolder(programFolder, QStringLiteral("pic"))) {}

TPictureRef TLibraryPictures::Find(const QString& name) {
    if (FFolder.isEmpty() || name.isEmpty() || !IsSafeFileName(name))
        return {};
    const TPictureRef exact = PictureRefOf(FFolder + QLatin1Char('/') + name);
    if (!exact.IsNull())
        return exact;
    if (!FListing)
        FListing.emplace(FFolder);
    return PictureRefOf(FListing->Find(name));
}

TPlaceholders TLibraryPictures::Placeholders() {
    TPlaceholders placeholders;
    for (const char* extension : {"jpg", "jpeg", "gif", "png", "bmp", "ico"}) {
        const TPictureRef placeholder = Find(QStringLiteral("nopic.") + QLatin1String(extension));
        if (!placeholder.IsNull())
            placeholders.insert(QLatin1String(extension), placeholder);
    }
    return placeholders;
}
