#include "upgrader/installation.h"

#include "upgrader/replacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

std::function<void()>& StepHook() {
    static std::function<void()> hook;
    return hook;
}

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

bool Exists(const QString& path) {
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

// A second name for the old file costs nothing and cannot fail halfway; a copy is the way on a
// file system without links, and takes its name only when whole.
bool KeepCopy(const QString& target, const QString& backup) {
    QFile::remove(backup);
    if (::link(Native(target).constData(), Native(backup).constData()) == 0)
        return true;
    const QString partial = backup + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(target, partial))
        return false;
    QFile copy(partial);
    const bool synced = copy.open(QIODevice::ReadOnly) && ::fsync(copy.handle()) == 0;
    copy.close();
    return synced && std::rename(Native(partial).constData(), Native(backup).constData()) == 0;
}

} // namespace

void SetStepHookForTesting(std::function<void()> hook) {
    StepHook() = std::move(hook);
}

void BeforeStep() {
    if (StepHook())
        StepHook()();
}

TJournal JournalOf(const QString& programFolder, const std::vector<TReplacement>& replacements,
                   const QString& version) {
    TJournal journal;
    journal.Version = version;
    for (const TReplacement& replacement : replacements) {
        const QString target = QFileInfo(replacement.TargetPath).fileName();
        journal.Entries.push_back({QFileInfo(replacement.PendingPath).fileName(), target,
                                   Exists(QDir(programFolder).filePath(target))});
    }
    return journal;
}

bool InstallReplacements(const QString& programFolder,
                         const std::vector<TReplacement>& replacements) {
    const QString backupFolder = BackupFolder(programFolder);
    if (!MakePrivateFolder(backupFolder))
        return false;
    for (const TReplacement& replacement : replacements) {
        if (Exists(replacement.TargetPath)) {
            BeforeStep();
            const QString backup =
                QDir(backupFolder).filePath(QFileInfo(replacement.TargetPath).fileName());
            if (!KeepCopy(replacement.TargetPath, backup))
                return false;
            SyncFolder(backupFolder);
        }
        BeforeStep();
        if (!ReplaceTarget(replacement))
            return false;
    }
    SyncFolder(programFolder);
    return true;
}

void RollBack(const QString& programFolder, const TJournal& journal) {
    const QDir folder(programFolder);
    const QDir backups(BackupFolder(programFolder));
    for (auto entry = journal.Entries.rbegin(); entry != journal.Entries.rend(); ++entry) {
        const QString target = folder.filePath(entry->TargetName);
        const QString backup = backups.filePath(entry->TargetName);
        // An old file whose backup is gone is in place already: it was put back, or was never
        // replaced.
        if (entry->HadOld && Exists(backup)) {
            BeforeStep();
            std::rename(Native(backup).constData(), Native(target).constData());
        } else if (!entry->HadOld && Exists(target)) {
            BeforeStep();
            QFile::remove(target);
        }
        const QString pending = folder.filePath(entry->PendingName);
        if (Exists(pending))
            QFile::remove(pending);
    }
    SyncFolder(programFolder);
}

void RemoveBackup(const QString& programFolder) {
    BeforeStep();
    QDir(BackupFolder(programFolder)).removeRecursively();
}
