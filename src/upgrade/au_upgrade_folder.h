#pragma once

#include "upgrade/au_info_file.h"

#include <QList>
#include <QString>
#include <optional>

// The upgrade's bookkeeping in the program folder, as the client keeps it: the list of verified
// files it hands to the upgrader, and what it learns when the upgrader undid an upgrade.

// The folder of the bookkeeping inside the program folder.
QString UpgradeFolderPath(const QString& programFolder);
// Makes it, or closes an existing one of ours, to everybody but its owner; false when it is
// not such a folder afterwards.
bool MakeUpgradeFolder(const QString& programFolder);

// A pending file that passed its check.
struct TauVerifiedFile {
    QString PendingPath;
    TauFileDigest Digest;
};

// Why the upgrader put the old files back (or never replaced them): the new version did not
// confirm its start; a verified file changed before it was installed; the files could not be
// put in place.
enum TauUndoReason { urNotStarted, urFilesChanged, urNotInstalled };

struct TauUndoneUpgrade {
    QString Version;
    TauUndoReason Reason = urNotStarted;
};

// Writes the list the upgrader checks every pending file against before it installs anything;
// whole or not at all. False when it cannot be written. Files of one name count once, the last.
bool WriteVerifiedFiles(const QString& programFolder, const QString& version,
                        const QList<TauVerifiedFile>& files);
void DeleteVerifiedFiles(const QString& programFolder);

// The notice of an undone upgrade, once: it is removed, and a version that did not start is
// skipped from then on.
std::optional<TauUndoneUpgrade> TakeUpgradeNotice(const QString& programFolder);

// The version that the automatic check does not offer: the user chose to skip it, or its
// upgrade was undone because it did not start. Empty for none.
QString SkippedUpgradeVersion(const QString& programFolder);
void SkipUpgradeVersion(const QString& programFolder, const QString& version);
