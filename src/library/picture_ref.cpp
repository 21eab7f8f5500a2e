#include "library/picture_ref.h"

#include <QFile>
#include <QHashFunctions>
#include <sys/stat.h>

size_t qHash(const TPictureRef& ref, size_t seed) {
    return qHashMulti(seed, ref.Path, ref.Size, ref.ModifiedNs);
}

// One stat call: QFileInfo would also turn the time into a local QDateTime, which costs more
// than the call itself when a list of 100,000 games is read.
TPictureRef PictureRefOf(const QString& path) {
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0 ||
        !S_ISREG(status.st_mode))
        return {};
    return {path, qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}
