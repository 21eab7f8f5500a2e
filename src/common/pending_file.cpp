#include "common/pending_file.h"

#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

QString TemporaryNameBeside(const QString& targetPath) {
    const QFileInfo target(targetPath);
    return target.path() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX");
}

} // namespace

TPendingFile::TPendingFile(const QString& targetPath)
    : QTemporaryFile(TemporaryNameBeside(targetPath)), FTargetPath(targetPath) {}

bool TPendingFile::Publish() {
    if (!flush())
        return false;
    close();
    // Temporary files are private to their owner; the published file is an ordinary one.
    setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                   QFileDevice::ReadOther);
    if (std::rename(QFile::encodeName(fileName()).constData(),
                    QFile::encodeName(FTargetPath).constData()) != 0) {
        setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    setAutoRemove(false);
    return true;
}
