#include "upgrade/au_upgrader_launch.h"

#include "common/program_folder.h"
#include "platform/shell_open.h"
#include "upgrade/au_upgrade_folder.h"
#include "upgrade/au_utils.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kUpgraderName = QStringLiteral("Upgrader3.exe");

// A folder only we can write to: ours, not a link, closed to the group and to others.
bool IsPrivateFolder(const QString& folder) {
    struct stat status {};
    return !folder.isEmpty() && QDir::isAbsolutePath(folder) &&
           ::lstat(QFile::encodeName(folder).constData(), &status) == 0 &&
           S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

} // namespace

QStringList UpgraderLocations() {
    QStringList locations;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (IsPrivateFolder(runtime))
        locations.append(QDir(runtime).filePath(kUpgraderName));
    const QString programFolder = UpgradeFolderPath(ProgramFolder());
    if (IsPrivateFolder(programFolder))
        locations.append(QDir(programFolder).filePath(kUpgraderName));
    return locations;
}

bool WriteUpgrader(const QString& path) {
    QBuffer image;
    image.open(QIODevice::WriteOnly);
    if (!SaveResourceToStream(TauModule::Program, QStringLiteral("AUUPG"), QStringLiteral("AUUPG"),
                              &image))
        return false;
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

bool LaunchUpgrader(const QString& programPath, const QString& params, QString& reason) {
    MakeUpgradeFolder(ProgramFolder());
    reason = QStringLiteral("no private folder to write the upgrader to");
    for (const QString& path : UpgraderLocations()) {
        if (!WriteUpgrader(path)) {
            reason = QStringLiteral("cannot write %1").arg(path);
            continue;
        }
        // The upgrader joins its arguments with blanks again, so a path with blanks needs no
        // quotes.
        if (StartProgram(path, {programPath, QLatin1Char('+') + params}, &reason))
            return true;
        QFile::remove(path);
    }
    return false;
}

void RemoveUpgraderCopies() {
    for (const QString& path : UpgraderLocations())
        QFile::remove(path);
}
