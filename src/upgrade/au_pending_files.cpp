#include "upgrade/au_pending_files.h"

#include "common/folder_lookup.h"
#include "upgrade/au_utils.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

const QString kPendingSuffix = QStringLiteral(".uTMP");

QStringList PendingFiles(const QString& folder) {
    QDir directory(folder);
    directory.setNameFilters(
        {QLatin1Char('*') + kPendingSuffix, QLatin1Char('*') + kPendingSuffix + ".part"});
    directory.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    QStringList paths;
    for (const QString& name : directory.entryList())
        paths.append(directory.filePath(name));
    return paths;
}

} // namespace

QString PendingFilePath(const QString& folder, const QString& url) {
    return ResolveInFolder(folder, URLToFileName(url) + kPendingSuffix);
}

void DeletePendingFiles(const QString& folder, const QString& keep) {
    for (const QString& path : PendingFiles(folder)) {
        if (path != keep)
            QFile::remove(path);
    }
}
