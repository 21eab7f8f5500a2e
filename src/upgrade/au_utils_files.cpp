#include "common/program_folder.h"
#include "platform/file_attributes.h"
#include "platform/program_resources.h"
#include "upgrade/au_utils.h"

#include <QDir>
#include <QFile>
#include <array>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFirstDosYear = 1980;
constexpr int kLastDosYear = 2107;

quint32 WindowsAttributesOf(TauFileAttributes attributes) {
    static constexpr std::array<std::pair<TauFileAttribute, quint32>, 6> kBits{{
        {atrArchive, WindowsAttribute::Archive},
        {atrHidden, WindowsAttribute::Hidden},
        {atrReadOnly, WindowsAttribute::ReadOnly},
        {atrSystem, WindowsAttribute::System},
        {atrTemporary, WindowsAttribute::Temporary},
        {atrOffline, WindowsAttribute::Offline},
    }};
    quint32 bits = 0;
    for (const auto& [element, bit] : kBits)
        if (attributes.Has(element))
            bits |= bit;
    return bits;
}

timespec FileTimeOf(TDateTime dateTime) {
    const std::optional<qint64> seconds =
        dateTime.Value == -1 ? std::nullopt : DateTimeToFileTime(dateTime);
    return seconds ? timespec{static_cast<time_t>(*seconds), 0} : timespec{0, UTIME_OMIT};
}

} // namespace

QString TempFolder() {
    // Empty when the folder that the environment names does not exist.
    QString folder = QDir::tempPath();
    if (folder.isEmpty())
        return ProgramFolder();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return IsDirectory(folder) ? folder : ProgramFolder();
}

bool IsDirectory(const QString& path) {
    const std::optional<quint32> attributes = ReadFileAttributes(path);
    return attributes && (*attributes & WindowsAttribute::Directory) != 0;
}

std::optional<qint64> DateTimeToFileTime(TDateTime dateTime) {
    const QDateTime local = dateTime.ToLocal();
    const QDate date = local.date();
    if (date.year() < kFirstDosYear || date.year() > kLastDosYear)
        return std::nullopt;
    // MS-DOS times count seconds in twos; the local fields are written down as if they were UTC.
    const QTime time(local.time().hour(), local.time().minute(), local.time().second() & ~1);
    return QDateTime(date, time, Qt::UTC).toSecsSinceEpoch();
}

bool SetFileTimes(const QString& fileName, TDateTime /*creation: not kept here*/,
                  TDateTime lastWrite, TDateTime lastAccess) {
    const int file = open(QFile::encodeName(fileName).constData(), O_WRONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    const timespec times[2] = {FileTimeOf(lastAccess), FileTimeOf(lastWrite)};
    const bool written = futimens(file, times) == 0;
    close(file);
    return written;
}

qint64 GetFileSize64(const QString& fileName) {
    struct stat status {};
    if (stat(QFile::encodeName(fileName).constData(), &status) != 0 || S_ISDIR(status.st_mode))
        return -1;
    return status.st_size;
}

bool SaveResourceToStream(TauModule /*module*/, const QString& name, const QString& type,
                          QIODevice* stream) {
    if (stream == nullptr)
        return false;
    const std::optional<QByteArray> data = ReadProgramResource(type, name);
    if (!data || data->isEmpty())
        return false;
    return stream->write(*data) == data->size();
}

bool ApplyFileAttributes(const QString& fileName, TauFileAttributes attributes) {
    return WriteFileAttributes(fileName, WindowsAttributesOf(attributes));
}
