#include "library/picture_folder.h"

#include <QDir>
#include <QDirIterator>

// Names only, in the order the file system gives them: a picture folder may hold 100,000
// files, and a sorted list of file information would cost some 1 KB each.
TPictureFolder::TPictureFolder(const QString& folder) : FFolder(QDir(folder).absolutePath()) {
    if (folder.isEmpty())
        return;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        FNames.insert(name);
        // Of names equal without regard to case, the first in name order, whatever the order of
        // the listing.
        QString& folded = FNamesByFoldedName[name.toCaseFolded()];
        if (folded.isEmpty() || name < folded)
            folded = name;
    }
}

QString TPictureFolder::Find(const QString& name) const {
    if (FNames.contains(name))
        return FFolder + QLatin1Char('/') + name;
    const QString found = FNamesByFoldedName.value(name.toCaseFolded());
    return found.isEmpty() ? QString() : FFolder + QLatin1Char('/') + found;
}
