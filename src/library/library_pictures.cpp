#include "library/library_pictures.h"

#include "common/file_names.h"
#include "common/folder_lookup.h"
#include "library/picture_loader.h"

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
    TPictureRef found = PictureRefOf(FFolder + QLatin1Char('/') + name);
    if (found.IsNull()) {
        if (!FListing)
            FListing.emplace(FFolder);
        found = PictureRefOf(FListing->Find(name));
    }
    if (!found.IsNull())
        FExtensions.insert(QFileInfo(name).suffix().toLower());
    return found;
}

// Only kinds that occur are looked for: a placeholder missing by its exact name makes the
// folder be listed, which a list of 100,000 games should not pay for a kind it does not hold.
TPlaceholders TLibraryPictures::Placeholders() {
    QSet<QString> extensions = FExtensions;
    extensions.insert(QStringLiteral("gif"));
    TPlaceholders placeholders;
    for (const QString& extension : extensions) {
        const QString name = QStringLiteral("nopic.") + extension;
        if (PictureKindOf(name) == TPictureKind::Unknown)
            continue;
        const TPictureRef placeholder = Find(name);
        if (!placeholder.IsNull())
            placeholders.insert(extension, placeholder);
    }
    return placeholders;
}
