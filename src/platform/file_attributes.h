#pragma once

#include <QString>
#include <optional>

// Windows file attributes on this platform: read-only is the owner's write permission, the
// directory bit comes from the file's type, and the others live in the extended attribute
// "user.DOSATTRIB" as the text 0x%x. A file system without extended attributes keeps read-only
// only.
namespace WindowsAttribute {
constexpr quint32 ReadOnly = 0x01;
constexpr quint32 Hidden = 0x02;
constexpr quint32 System = 0x04;
constexpr quint32 Directory = 0x10;
constexpr quint32 Archive = 0x20;
constexpr quint32 Temporary = 0x100;
constexpr quint32 Offline = 0x1000;
} // namespace WindowsAttribute

// The attributes of an existing file or folder; empty when it cannot be read.
std::optional<quint32> ReadFileAttributes(const QString& path);

// Gives the file exactly these attributes (the directory bit is ignored); false when the file
// cannot be changed.
bool WriteFileAttributes(const QString& path, quint32 attributes);
