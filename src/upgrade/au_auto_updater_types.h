#pragma once

#include "upgrade/au_set.h"

#include <QString>
#include <QStringList>

// The options and enumerations of the upgrade component. Ordinals are stored values: keep them.

// Which key of the information file decides whether the offered version is newer.
enum TauAutoUpdaterVersionControl { byDate, byNumber };

// How the listed files are put to use; the information file gives the digit 0, 1 or 2.
enum TauUpgradeMethod { umSelfUpgrade, umUseExternalSetup, umRedirectToURL };

// Whether files other than the program file are skipped when the local copy has the remote size.
enum TauMiscFilesUpgradeBehavior { mfuAlwaysDownload, mfuOnlyIfSizeDifferent };

// The questions and notices the component shows by itself.
enum TauAutoUpdaterShowMessage {
    mAskUpgrade,
    mConnLost,
    mHostUnreachable,
    mLostFile,
    mNoInfoFile,
    mNoUpdateAvailable,
    mPasswordRequest
};
using TauAutoUpdaterShowMessages = TauSet<TauAutoUpdaterShowMessage>;

// What an information file holds, kept for whoever edits the component; the check neither reads
// nor fills it.
class TauAutoUpdaterInfo {
public:
    QStringList Files;
    TauUpgradeMethod UpgradeMethod = umSelfUpgrade;
    QString UpgradeMsg;
};
