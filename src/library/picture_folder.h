#pragma once

#include <QHash>
#include <QSet>
#include <QString>

// The picture folder listed once, so that finding each game's picture touches the disk no
// more. Names match as FindInFolder matches them: an exact name first, else one equal without
// regard to letter case. A name holding a separator never matches, so none leaves the folder.
class TPictureFolder {
public:
    explicit TPictureFolder(const QString& folder);

    // The full path of the file named Name; empty when the folder holds none.
    QString Find(const QString& name) const;

private:
    QString FFolder;
    QSet<QString> FNames;
    QHash<QString, QString> FNamesByFoldedName;
};
