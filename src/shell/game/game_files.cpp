#include "shell/game/game_files.h"

#include "common/common_method.h"
#include "common/folder_lookup.h"
#include "shell/game/file_ext.h"

#include <QDir>
#include <QFileInfo>

QString FindGameFile(const QString& flashFolder, const QString& name) {
    const QString path = FindStoredFile(flashFolder, name, QStringLiteral(".swf"));
    return !path.isEmpty() && QFileInfo(path).size() > 0 ? path : QString();
}

QString FindStoredFile(const QString& folder, const QString& name, const QString& extension) {
    const QString exact = FindInFolder(folder, name + extension);
    if (!exact.isEmpty())
        return exact;
    const QString trimmed = TrimBlanks(name);
    if (trimmed.isEmpty())
        return {};
    const QDir directory(folder);
    for (const QString& entry : directory.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!entry.endsWith(extension, Qt::CaseInsensitive))
            continue;
        const QString base = entry.chopped(extension.size());
        if (TrimBlanks(base).compare(trimmed, Qt::CaseInsensitive) == 0)
            return directory.filePath(entry);
    }
    return {};
}

QString PictureFileName(const TGameInfo& game) {
    return game.flashname + ExtractFileExt(game.picUrl);
}
