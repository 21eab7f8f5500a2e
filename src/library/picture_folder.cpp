#include "library/picture_folder.h"

#include <QDir>

TPictureFolder::TPictureFolder(const QString& folder) : FFolder(QDir(folder).absolutePath()) {
    if (folder.isEmpty())
        return;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System,
                                                     QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        FNames.insert(name);
        const QString folded = name.toCaseFolded();
        if (!FNamesByFoldedName.contains(folded))
            FNamesByFoldedName.insert(folded, name);
    }
}

QString TPictureFolder::Find(const QString& name) const {
    if (FNames.contains(name))
        return FFolder + QLatin1Char('/') + name;
    const QString found = FNamesByFoldedName.value(name.toCaseFolded());
    return found.isEmpty() ? QString() : FFolder + QLatin1Char('/') + found;
}
