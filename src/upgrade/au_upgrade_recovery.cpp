#include "upgrade/au_upgrade_recovery.h"

#include "common/program_folder.h"
#include "upgrade/au_upgrader_launch.h"
#include "upgrader/upgrade_protocol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

bool UpgraderAtWork(const QString& programFolder) {
    const QByteArray lock =
        QFile::encodeName(QDir(programFolder).filePath(QLatin1String(upgrade_protocol::kLock)));
    const int handle = ::open(lock.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (handle < 0)
        return false;
    const bool held = ::flock(handle, LOCK_EX | LOCK_NB) != 0;
    ::close(handle);
    return held;
}

} // namespace

bool UpgradeLeftUnfinished(const QString& programFolder) {
    return QFileInfo::exists(
               QDir(programFolder).filePath(QLatin1String(upgrade_protocol::kJournal))) &&
           !UpgraderAtWork(programFolder);
}

bool HandOverUnfinishedUpgrade(const QString& restartParams) {
    if (!UpgradeLeftUnfinished(ProgramFolder()))
        return false;
    QString reason;
    return LaunchUpgrader(ProgramFilePath(), restartParams, reason);
}
