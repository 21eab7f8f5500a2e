#include "upgrader/program_location.h"

#include "upgrader/folder_entries.h"

#include <QDir>

TProgramLocation LocateProgram(const QString& programPath) {
    const QString path = QDir::isAbsolutePath(programPath)
                             ? programPath
                             : QDir::currentPath() + QLatin1Char('/') + programPath;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    TProgramLocation program;
    program.Folder = path.left(slash + 1);
    const QString givenName = path.sliced(slash + 1);
    const QString storedName = StoredName(program.Folder, givenName);
    program.Exists = !storedName.isEmpty();
    program.Name = program.Exists ? storedName : givenName;
    return program;
}
