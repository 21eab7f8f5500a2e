#include "upgrade/au_upgrade_folder.h"

#include "upgrader/upgrade_protocol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The client's own: the upgrader never reads it.
const char kSkippedVersion[] = "upgrade/skipped-version";

QString PathIn(const QString& programFolder, const char* relative) {
    return QDir(programFolder).filePath(QLatin1String(relative));
}

bool WriteWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QByteArray ReadSmallFile(const QString& path) {
    constexpr qint64 kLongestNotice = 256;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(kLongestNotice) : QByteArray();
}

QByteArray ListOf(const QString& version, const QList<TauVerifiedFile>& files) {
    QByteArray text = "pebblo-upgrade 1\nversion " + version.toUtf8() + '\n';
    QStringList written;
    for (auto file = files.crbegin(); file != files.crend(); ++file) {
        const QString name = QFileInfo(file->PendingPath).fileName();
        if (written.contains(name))
            continue;
        written.append(name);
        text += "file " + file->Digest.Sha256.toHex() + ' ' +
                QByteArray::number(file->Digest.Size) + ' ' + name.toUtf8() + '\n';
    }
    return text;
}

} // namespace

QString UpgradeFolderPath(const QString& programFolder) {
    return PathIn(programFolder, upgrade_protocol::kFolder);
}

bool MakeUpgradeFolder(const QString& programFolder) {
    const QString folder = UpgradeFolderPath(programFolder);
    const QFileInfo info(folder);
    if (info.isSymLink() || (!info.isDir() && !QDir().mkdir(folder)))
        return false;
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
}

bool WriteVerifiedFiles(const QString& programFolder, const QString& version,
                        const QList<TauVerifiedFile>& files) {
    return MakeUpgradeFolder(programFolder) &&
           WriteWhole(PathIn(programFolder, upgrade_protocol::kVerifiedFiles),
                      ListOf(version, files));
}

void DeleteVerifiedFiles(const QString& programFolder) {
    QFile::remove(PathIn(programFolder, upgrade_protocol::kVerifiedFiles));
}

std::optional<TauUndoneUpgrade> TakeUpgradeNotice(const QString& programFolder) {
    const QString notice = PathIn(programFolder, upgrade_protocol::kNotice);
    const QString text = QString::fromUtf8(ReadSmallFile(notice)).trimmed();
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return std::nullopt;
    TauUndoneUpgrade undone;
    undone.Version = text.sliced(blank + 1);
    const QString reason = text.first(blank);
    undone.Reason = reason == QLatin1String("files-changed")   ? urFilesChanged
                    : reason == QLatin1String("not-installed") ? urNotInstalled
                                                               : urNotStarted;
    // What went wrong on this machine says nothing against the version itself.
    if (undone.Reason == urNotStarted)
        SkipUpgradeVersion(programFolder, undone.Version);
    QFile::remove(notice);
    return undone;
}

QString SkippedUpgradeVersion(const QString& programFolder) {
    return QString::fromUtf8(ReadSmallFile(PathIn(programFolder, kSkippedVersion))).trimmed();
}

void SkipUpgradeVersion(const QString& programFolder, const QString& version) {
    if (MakeUpgradeFolder(programFolder))
        WriteWhole(PathIn(programFolder, kSkippedVersion), version.toUtf8());
}
