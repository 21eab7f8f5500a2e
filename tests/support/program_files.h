#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

// Puts what the installation brings (the placeholder pictures and the Flash player) into a
// test's own program folder, as the build does into the real one.
inline bool CopyInstalledProgramFiles(const QString& programFolder) {
    const QDir source(QStringLiteral(PEBBLO_PROGRAM_DIR));
    for (const QString& folder : {QStringLiteral("pic"), QStringLiteral("ruffle")}) {
        QDirIterator files(source.filePath(folder), QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString from = files.next();
            const QString to = QDir(programFolder).filePath(source.relativeFilePath(from));
            if (!QDir().mkpath(QFileInfo(to).path()) || !QFile::copy(from, to))
                return false;
        }
    }
    return true;
}
