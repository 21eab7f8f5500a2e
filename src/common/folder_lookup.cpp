#include "common/folder_lookup.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Joined(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

QString FindInFolder(const QString& folder, const QString& name) {
    if (name.isEmpty())
        return {};
    const QString exact = Joined(folder, name);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return Joined(folder, entry);
    }
    return {};
}

QString ResolveInFolder(const QString& folder, const QString& name) {
    const QString found = FindInFolder(folder, name);
    return found.isEmpty() ? Joined(folder, name) : found;
}
