#include "upgrader/folder_entries.h"

#include <QDir>
#include <QFileInfo>

QString StoredName(const QString& folder, const QString& name) {
    if (name.isEmpty())
        return {};
    if (QFileInfo::exists(folder + name))
        return name;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

QString ResolvedPath(const QString& folder, const QString& name) {
    const QString stored = StoredName(folder, name);
    return folder + (stored.isEmpty() ? name : stored);
}
