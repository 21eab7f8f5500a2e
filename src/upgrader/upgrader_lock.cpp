#include "upgrader/upgrader_lock.h"

#include "upgrader/journal.h"
#include "upgrader/upgrade_protocol.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TUpgraderLock::TUpgraderLock(const QString& programFolder) {
    if (!MakePrivateFolder(UpgradeFolder(programFolder)))
        return;
    const QByteArray path =
        QFile::encodeName(QDir(programFolder).filePath(QLatin1String(upgrade_protocol::kLock)));
    // Not inherited: the programs we start must not keep the folder locked after we are gone.
    FHandle = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (FHandle >= 0 && ::flock(FHandle, LOCK_EX | LOCK_NB) != 0) {
        FBusy = errno == EWOULDBLOCK;
        ::close(FHandle);
        FHandle = -1;
    }
}

TUpgraderLock::~TUpgraderLock() {
    if (FHandle >= 0)
        ::close(FHandle);
}
