#include "upgrade/au_upgrader_launch.h"

#include "platform/shell_open.h"
#include "upgrade/au_utils.h"

#include <QBuffer>
#include <QFile>

QString UpgraderPath() {
    static const QString path = TempFolder() + QStringLiteral("Upgrader3.exe");
    return path;
}

bool WriteUpgrader(const QString& path) {
    QBuffer image;
    image.open(QIODevice::WriteOnly);
    if (!SaveResourceToStream(TauModule::Program, QStringLiteral("AUUPG"), QStringLiteral("AUUPG"),
                              &image))
        return false;
    // The temporary folder is shared: a file that is not ours is never written through or run.
    // Ours is removed and the new one made where nothing is, never following a link.
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        return false;
    const bool written = file.write(image.data()) == image.data().size() && file.flush();
    file.close();
    if (!written) {
        QFile::remove(path);
        return false;
    }
    ApplyFileAttributes(path, {atrTemporary});
    return true;
}

bool StartUpgrader(const QString& upgraderPath, const QString& programPath, const QString& params) {
    // The upgrader joins its arguments with blanks again, so a path with blanks needs no quotes.
    return StartProgram(upgraderPath, {programPath, QLatin1Char('+') + params});
}
