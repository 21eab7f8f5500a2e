#include "support/scratch_files.h"

#include "support/require.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// In memory where the system offers it: a file rewritten on disk for every input would cost
// more than the parsing under test.
QString ScratchPath(const QString& name) {
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/pebblo-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/pebblo-fuzz-XXXXXX"));
    Require(folder.isValid(), "a scratch folder can be made");
    return folder.filePath(name);
}

void WriteScratchFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(bytes) == bytes.size(),
            "the scratch file can be written");
}

QByteArray ReadScratchFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
