#include "platform/file_attributes.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {

constexpr char kAttributeName[] = "user.DOSATTRIB";
constexpr quint32 kStoredInExtendedAttribute =
    WindowsAttribute::Hidden | WindowsAttribute::System | WindowsAttribute::Archive |
    WindowsAttribute::Temporary | WindowsAttribute::Offline;

bool NoExtendedAttributes(int error) {
    return error == ENOTSUP || error == ENODATA;
}

quint32 StoredAttributes(const QByteArray& path) {
    char text[32] = {};
    const ssize_t length = getxattr(path.constData(), kAttributeName, text, sizeof text - 1);
    if (length <= 0)
        return 0;
    unsigned int value = 0;
    return std::sscanf(text, "0x%x", &value) == 1 ? value & kStoredInExtendedAttribute : 0;
}

bool StoreAttributes(const QByteArray& path, quint32 stored) {
    if (stored == 0)
        return removexattr(path.constData(), kAttributeName) == 0 || NoExtendedAttributes(errno);
    char text[32] = {};
    const int length = std::snprintf(text, sizeof text, "0x%x", stored);
    return setxattr(path.constData(), kAttributeName, text, static_cast<size_t>(length), 0) == 0 ||
           errno == ENOTSUP;
}

bool SetOwnerWritable(const QByteArray& path, mode_t mode, bool writable) {
    const mode_t wanted = writable ? mode | S_IWUSR : mode & ~S_IWUSR;
    return wanted == mode || chmod(path.constData(), wanted & 07777) == 0;
}

} // namespace

std::optional<quint32> ReadFileAttributes(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (stat(name.constData(), &status) != 0)
        return std::nullopt;
    quint32 attributes = StoredAttributes(name);
    if ((status.st_mode & S_IWUSR) == 0)
        attributes |= WindowsAttribute::ReadOnly;
    if (S_ISDIR(status.st_mode))
        attributes |= WindowsAttribute::Directory;
    return attributes;
}

bool WriteFileAttributes(const QString& path, quint32 attributes) {
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (stat(name.constData(), &status) != 0)
        return false;
    // Changing extended attributes needs write permission: they are written while it lasts.
    const bool readOnly = (attributes & WindowsAttribute::ReadOnly) != 0;
    if (!readOnly && !SetOwnerWritable(name, status.st_mode, true))
        return false;
    if (!StoreAttributes(name, attributes & kStoredInExtendedAttribute))
        return false;
    return !readOnly || SetOwnerWritable(name, status.st_mode, false);
}
