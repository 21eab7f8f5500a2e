#pragma once

#include <QString>
#include <optional>
#include <vector>

// Our record of an installation, kept in the program folder until it is confirmed or undone,
// so that whoever finds the folder after a crash knows exactly what to put back.

enum class TJournalState {
    Installing,  // files are being replaced: a crash now is undone
    Installed,   // every file is in place: the new program has yet to confirm its start
    RollingBack, // the old files are going back
};

struct TJournalEntry {
    QString PendingName; // the verified file that replaces the target
    QString TargetName;
    bool HadOld = false; // the target existed: its old file is kept in the backup folder
};

struct TJournal {
    TJournalState State = TJournalState::Installing;
    QString Version;
    std::vector<TJournalEntry> Entries;
};

std::optional<TJournal> ReadJournal(const QString& programFolder);
// Replaces the journal whole and durably; false when it cannot.
bool WriteJournal(const QString& programFolder, const TJournal& journal);
void DeleteJournal(const QString& programFolder);

// Why an upgrade was undone, for the client to tell its user.
enum class TUndoReason { NotStarted, FilesChanged, NotInstalled };
void WriteUndoNotice(const QString& programFolder, TUndoReason reason, const QString& version);

// The folders of the bookkeeping, made on demand and closed to all but us.
QString UpgradeFolder(const QString& programFolder);
QString BackupFolder(const QString& programFolder);
bool MakePrivateFolder(const QString& folder);
