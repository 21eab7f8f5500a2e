#include "upgrader/replacement.h"

#include <QFile>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// The client keeps the attributes of its home file system (other than read-only, which is the
// owner's write bit) in this extended attribute.
constexpr char kAttributesName[] = "user.DOSATTRIB";
constexpr char kArchive[] = "0x20";
constexpr char kHiddenArchive[] = "0x22";

// A replaced file keeps the mode of the file it replaces, minus read-only; a program gets the
// run bit wherever it may be read.
mode_t ModeOf(const TReplacement& replacement, const struct stat& pending) {
    struct stat target {};
    const bool targetExists =
        ::stat(QFile::encodeName(replacement.TargetPath).constData(), &target) == 0 &&
        S_ISREG(target.st_mode);
    mode_t mode = (targetExists ? target.st_mode : pending.st_mode) & 07777;
    mode |= S_IWUSR;
    if (replacement.Runnable)
        mode |= S_IXUSR | ((mode & S_IRGRP) ? S_IXGRP : 0) | ((mode & S_IROTH) ? S_IXOTH : 0);
    return mode;
}

// Data on disk, final mode and attributes: after this the file may take the target's name.
bool PrepareNewFile(const TReplacement& replacement) {
    const int fd = ::open(QFile::encodeName(replacement.PendingPath).constData(),
                          O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat pending {};
    bool prepared = ::fstat(fd, &pending) == 0 && S_ISREG(pending.st_mode) && ::fsync(fd) == 0 &&
                    ::fchmod(fd, ModeOf(replacement, pending)) == 0;
    // A file system without extended attributes keeps only the mode; that is no failure.
    const char* attributes = replacement.Hidden ? kHiddenArchive : kArchive;
    ::fsetxattr(fd, kAttributesName, attributes, std::strlen(attributes), 0);
    ::close(fd);
    return prepared;
}

} // namespace

bool ReplaceTarget(const TReplacement& replacement) {
    return PrepareNewFile(replacement) &&
           std::rename(QFile::encodeName(replacement.PendingPath).constData(),
                       QFile::encodeName(replacement.TargetPath).constData()) == 0;
}

void SyncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
