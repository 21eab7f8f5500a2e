// The upgrade: every listed file downloaded into its pending file beside the program, one after
// the other, then the upgrader written out and started, and the client closed.
#include "common/folder_lookup.h"
#include "common/program_folder.h"
#include "upgrade/au_auto_updater.h"
#include "upgrade/au_pending_files.h"
#include "upgrade/au_upgrade_folder.h"
#include "upgrade/au_upgrader_launch.h"
#include "upgrade/messages/upgrade_messages.h"
#include "upgrade/wizard/upgrade_message_box.h"
#include "upgrade/wizard/upgrade_message_format.h"
#include "upgrade/wizard/wizard_form.h"
#include "upgrade/wizard/wizard_host.h"

#include <QFileInfo>
#include <cstdio>

namespace {

enum TUpgradeMessage {
    kErrorCaption = 21,
    kFileError = 28,
};

const QString kPendingSuffix = QStringLiteral(".uTMP");
const QString kPartialSuffix = QStringLiteral(".part");

// A file name that can become a pending file: not empty, not "." or "..".
bool IsPendingName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..");
}

} // namespace

quint8 TotalPercentsDone(quint8 percentsDone, int fileIndex, int fileCount) {
    if (fileCount <= 0)
        return percentsDone;
    return static_cast<quint8>(percentsDone / fileCount + CalcPercent(fileIndex, fileCount));
}

void TauAutoUpdater::DownloadNextFile(bool first) {
    if (first) {
        FInfoMode = false;
        FUpgrading = true;
        RequestCacheOptions = CacheOptions;
        FFileIndex = 0;
        if (Wizard.Enabled)
            ShowUpgradeWizard(WizardHost());
        FVerifiedFiles.clear();
    } else {
        ++FFileIndex;
    }
    if (FFileIndex >= FFiles.size()) {
        CompleteUpgrade();
        return;
    }
    const QString url = FFiles.at(FFileIndex);
    if (TauAutoUpdaterWizardForm* form = UpgradeWizardForm()) {
        form->SetFileURL(url);
        form->SetFilePosition(FFileIndex + 1, static_cast<int>(FFiles.size()));
    }
    URL = url;
    // "..uTMP" and ".uTMP" would never be installed: such an address names no file.
    if (!IsPendingName(URLToFileName(url))) {
        FileRefused(kNoFileName);
        return;
    }
    FCurrentFile = PendingFilePath(ProgramFolder(), url);
    // Written under a name the upgrader never installs, and given the pending name only whole
    // and checked: a download cut off by a crash is never taken for a file to install.
    OutputFileName = PartialFile();
    // A file read without headers (a local one) has no date of its own.
    FFileTime = {};
    Release();
    Read();
}

void TauAutoUpdater::CompleteUpgrade() {
    if (UpgradeWizardForm() != nullptr) {
        ShowCompletionPage();
        // Until the user closes the window: OK goes on, the close box may abandon the upgrade.
        WaitWithMessages(FWaitEvent, 0, true);
        if (FAborted)
            return;
    }
    FUpgrading = false;
    FUpgradeCompleted = true;
    bool restart = true;
    if (OnEndUpgrade)
        OnEndUpgrade(this, restart);
    if (restart)
        RestartApplication();
}

void TauAutoUpdater::FileHeaders(int contentLength, TDateTime lastModified,
                                 bool& continueTransfer) {
    FFileTime = lastModified;
    if (TauAutoUpdaterWizardForm* form = UpgradeWizardForm())
        form->SetFileSize(contentLength);
    if (MiscFilesUpgrade == mfuOnlyIfSizeDifferent && contentLength != 0 && FFiles.size() > 1)
        continueTransfer = SizeDiffers(contentLength);
    if (OnFileStart)
        OnFileStart(this, URL, contentLength, FFileTime, continueTransfer);
}

bool TauAutoUpdater::SizeDiffers(int contentLength) const {
    const QString targetName = QFileInfo(FCurrentFile.chopped(kPendingSuffix.size())).fileName();
    // The program file is always downloaded.
    if (targetName.compare(QFileInfo(ProgramFilePath()).fileName(), Qt::CaseInsensitive) == 0)
        return true;
    const QString target = FindInFolder(ProgramFolder(), targetName);
    return target.isEmpty() || static_cast<qint64>(contentLength) != GetFileSize64(target);
}

void TauAutoUpdater::FileProgress(int contentLength, int bytesRead, int elapsedTime,
                                  int estimatedTimeLeft, quint8 percentsDone, float transferRate) {
    const quint8 total =
        TotalPercentsDone(percentsDone, FFileIndex, static_cast<int>(FFiles.size()));
    if (OnProgress)
        OnProgress(this, URL, contentLength, bytesRead, elapsedTime, estimatedTimeLeft,
                   percentsDone, total, transferRate);
    if (TauAutoUpdaterWizardForm* form = UpgradeWizardForm())
        form->SetProgress(percentsDone, total, transferRate, estimatedTimeLeft);
}

void TauAutoUpdater::FileDone(QIODevice* data) {
    // The body came into memory: the pending file could not be created.
    if (data != nullptr) {
        FileError(kUnwritableFile);
        return;
    }
    if (!FileMatchesDigest()) {
        DiscardPartialFile();
        FileRefused(kUnverifiedFile);
        return;
    }
    if (std::rename(QFile::encodeName(PartialFile()).constData(),
                    QFile::encodeName(FCurrentFile).constData()) != 0) {
        DiscardPartialFile();
        FileError(kUnwritableFile);
        return;
    }
    FVerifiedFiles.append({FCurrentFile, FDigests.value(FFileIndex)});
    if (FFileTime.Value != 0)
        SetFileTimes(FCurrentFile, FFileTime, FFileTime, TDateTime{-1});
    if (OnFileDone)
        OnFileDone(this, FCurrentFile);
    DownloadNextFile(false);
}

bool TauAutoUpdater::FileMatchesDigest() const {
    const TauFileDigest expected = FDigests.value(FFileIndex);
    return expected.Complete() && static_cast<qint64>(BytesRead()) == expected.Size &&
           GetFileSize64(PartialFile()) == expected.Size && BodySha256() == expected.Sha256;
}

void TauAutoUpdater::FileError(int errorCode) {
    if (AskToSkipFile(errorCode, true))
        DownloadNextFile(false);
    else
        AbortUpgrade();
}

void TauAutoUpdater::FileRefused(int errorCode) {
    // A file that is not the one the vendor signed for is never installed, and an upgrade
    // without it is not the vendor's: nothing of it is installed.
    AskToSkipFile(errorCode, false);
    AbortUpgrade();
}

// OnLostFile, then the file-error message: asking whether to skip the file, or, for a file that
// cannot be skipped, only telling it. True when the file is to be skipped.
bool TauAutoUpdater::AskToSkipFile(int errorCode, bool canSkip) {
    bool continueUpgrade = false;
    if (OnLostFile)
        OnLostFile(this, URL, errorCode, continueUpgrade);
    if (ShowMessages.Has(mLostFile)) {
        const QString caption =
            LoadUpgradeMessage(kErrorCaption) + QStringLiteral(" #") + QString::number(errorCode);
        const QString text = FormatUpgradeMessage(kFileError, {FileFromURL(URL)});
        if (canSkip)
            continueUpgrade =
                UpgradeMessageBox(caption, text, MB_YESNO | MB_ICONWARNING | MB_SYSTEMMODAL) ==
                IDYES;
        else
            UpgradeMessageBox(caption, text.section(QStringLiteral("\n\n"), 0, 0),
                              MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
    }
    return canSkip && continueUpgrade;
}

QString TauAutoUpdater::PartialFile() const {
    return FCurrentFile + kPartialSuffix;
}

void TauAutoUpdater::DiscardPartialFile() {
    QFile::remove(PartialFile());
}

void TauAutoUpdater::StopUpgrade() {
    SignalEvent(FWaitEvent);
    Abort();
    // From here on the transfer writes nothing more, and creates no file.
    Release();
    ReleaseWizardFormHost(&WizardHost());
    FUpgrading = false;
    FCheckRunning = false;
}

void TauAutoUpdater::AbortUpgrade() {
    FAborted = true;
    StopUpgrade();
    DeletePendingFiles();
    if (OnAborted)
        OnAborted(this);
}

void TauAutoUpdater::DeletePendingFiles() {
    ::DeletePendingFiles(ProgramFolder(), ProgramFilePath());
    DeleteVerifiedFiles(ProgramFolder());
}

void TauAutoUpdater::RestartApplication(const QString& params) {
    if (!FUpgradeCompleted)
        DeletePendingFiles();
    RunUpgrader(params.isEmpty() ? FRestartParams + QString::number(FUpgradeMethod) : params);
}

void TauAutoUpdater::RunUpgrader(const QString& params) {
    // The upgrader installs only what this list vouches for.
    if (FUpgradeCompleted &&
        !WriteVerifiedFiles(ProgramFolder(), FOfferedVersion, FVerifiedFiles)) {
        UpgraderFailed(QStringLiteral("cannot write the list of verified files"));
        return;
    }
    QString reason;
    if (!LaunchUpgrader(ProgramFilePath(), params, reason)) {
        UpgraderFailed(reason);
        return;
    }
    if (OnDoOwnCloseAppMethod)
        OnDoOwnCloseAppMethod(this);
    else
        CloseApplication();
}

void TauAutoUpdater::UpgraderFailed(const QString& reason) {
    // Closing now would leave the user without a client until they start it again by hand, and
    // the files would wait for an upgrader that never comes.
    FUpgradeCompleted = false;
    DeletePendingFiles();
    if (OnUpgraderFailed)
        OnUpgraderFailed(this, reason);
}
