#include "upgrader/verified_files.h"

#include "upgrader/upgrade_protocol.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 kLargestList = 1024 * 1024;
constexpr qsizetype kSha256Size = 32;

QString ListPath(const QString& programFolder) {
    return QDir(programFolder).filePath(QLatin1String(upgrade_protocol::kVerifiedFiles));
}

// "file <sha256 hex> <size> <name>": the name is the rest of the line, blanks and all.
std::optional<TVerifiedFile> ParseFileLine(const QString& line) {
    const QStringList fields = line.split(QLatin1Char(' '));
    if (fields.size() < 4 || fields[0] != QLatin1String("file"))
        return std::nullopt;
    TVerifiedFile file;
    file.Sha256 = QByteArray::fromHex(fields[1].toLatin1());
    bool isNumber = false;
    file.Size = fields[2].toLongLong(&isNumber);
    file.PendingName = fields.sliced(3).join(QLatin1Char(' '));
    const bool plainName = !file.PendingName.contains(QLatin1Char('/')) &&
                           file.PendingName != QLatin1String(".") &&
                           file.PendingName != QLatin1String("..");
    if (file.Sha256.size() != kSha256Size || !isNumber || file.Size < 0 || !plainName)
        return std::nullopt;
    return file;
}

} // namespace

std::optional<TVerifiedFiles> ReadVerifiedFiles(const QString& programFolder) {
    QFile list(ListPath(programFolder));
    if (!list.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QStringList lines =
        QString::fromUtf8(list.read(kLargestList)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() < 2 || lines[0] != QLatin1String("pebblo-upgrade 1") ||
        !lines[1].startsWith(QLatin1String("version ")))
        return std::nullopt;
    TVerifiedFiles verified;
    verified.Version = lines[1].sliced(8);
    for (const QString& line : lines.sliced(2)) {
        const std::optional<TVerifiedFile> file = ParseFileLine(line);
        if (!file)
            return std::nullopt;
        verified.Files.push_back(*file);
    }
    return verified;
}

void DeleteVerifiedFiles(const QString& programFolder) {
    QFile::remove(ListPath(programFolder));
}

bool StillAsVerified(const QString& folder, const TVerifiedFile& file) {
    const QString path = QDir(folder).filePath(file.PendingName);
    if (QFileInfo(path).isSymLink())
        return false;
    QFile pending(path);
    if (!pending.open(QIODevice::ReadOnly) || pending.size() != file.Size)
        return false;
    QCryptographicHash digest(QCryptographicHash::Sha256);
    return digest.addData(&pending) && digest.result() == file.Sha256;
}
