#pragma once

#include "library/picture_folder.h"
#include "library/picture_ref.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <optional>

// The placeholder pictures of the picture folder ("nopic.gif", "nopic.jpg", ...) by extension in
// small letters: what a cell shows while its picture is not decoded, or when it cannot be.
using TPlaceholders = QHash<QString, TPictureRef>;
// The placeholder of the picture file's own kind, else the GIF one; null when there is neither.
TPictureRef PlaceholderOf(const TPlaceholders& placeholders, const QString& pictureName);

// The picture folder of a list pass. A name is looked for as it is written, which costs one
// stat; only a name that is not there makes the folder be listed, once, to find it without
// regard to letter case.
class TLibraryPictures {
public:
    explicit TLibraryPictures(const QString& programFolder);

    // Empty when the program folder has no picture folder.
    const QString& Folder() const { return FFolder; }
    // The picture file named Name; null when there is none. A name that could leave the folder
    // never matches.
    TPictureRef Find(const QString& name);
    // The placeholders of the kinds of the pictures found, and the GIF one.
    TPlaceholders Placeholders();

private:
    QString FFolder;
    std::optional<TPictureFolder> FListing;
    QSet<QString> FExtensions; // of the pictures found, in small letters
};
