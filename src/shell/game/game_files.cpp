#include "shell/game/game_files.h"

#include "common/folder_lookup.h"

#include <QFileInfo>

QString FindGameFile(const QString& flashFolder, const QString& name) {
    const QString path = FindInFolder(flashFolder, name + QStringLiteral(".swf"));
    return !path.isEmpty() && QFileInfo(path).size() > 0 ? path : QString();
}
