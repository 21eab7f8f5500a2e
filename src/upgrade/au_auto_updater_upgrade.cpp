// The upgrade: every listed file downloaded into its pending file beside the program, one after
// the other, then the upgrader written out and started, and the client closed.
#include "common/folder_lookup.h"
#include "common/program_folder.h"
#include "upgrade/au_auto_updater.h"
#include "upgrade/au_pending_files.h"
#include "upgrade/au_upgrader_launch.h"
#include "upgrade/messages/upgrade_messages.h"
#include "upgrade/wizard/upgrade_message_box.h"
#include "upgrade/wizard/upgrade_message_format.h"
#include "upgrade/wizard/wizard_form.h"
#include "upgrade/wizard/wizard_host.h"

#include <QFileInfo>

namespace {

enum TUpgradeMessage {
    kErrorCaption = 21,
    kFileError = 28,
};

const QString kPendingSuffix = QStringLiteral(".uTMP");

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
    FCurrentFile = PendingFilePath(ProgramFolder(), url);
    OutputFileName = FCurrentFile;
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
    if (FFileTime.Value != 0)
        SetFileTimes(FCurrentFile, FFileTime, FFileTime, TDateTime{-1});
    if (OnFileDone)
        OnFileDone(this, FCurrentFile);
    DownloadNextFile(false);
}

void TauAutoUpdater::FileError(int errorCode) {
    bool continueUpgrade = false;
    if (OnLostFile)
        OnLostFile(this, URL, errorCode, continueUpgrade);
    if (ShowMessages.Has(mLostFile)) {
        const QString caption =
            LoadUpgradeMessage(kErrorCaption) + QStringLiteral(" #") + QString::number(errorCode);
        continueUpgrade =
            UpgradeMessageBox(caption, FormatUpgradeMessage(kFileError, {FileFromURL(URL)}),
                              MB_YESNO | MB_ICONWARNING | MB_SYSTEMMODAL) == IDYES;
    }
    if (continueUpgrade)
        DownloadNextFile(false);
    else
        AbortUpgrade();
}

void TauAutoUpdater::DiscardPartialFile() {
    // Installed later, a file cut short would break what it replaces.
    QFile::remove(FCurrentFile);
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
}

void TauAutoUpdater::RestartApplication(const QString& params) {
    if (!FUpgradeCompleted)
        DeletePendingFiles();
    RunUpgrader(params.isEmpty() ? FRestartParams + QString::number(FUpgradeMethod) : params);
}

void TauAutoUpdater::RunUpgrader(const QString& params) {
    DeleteIncompletePendingFiles(ProgramFolder());
    // Only an upgrader just written is started: whatever else lies in the shared temporary
    // folder under that name is not ours to run.
    if (WriteUpgrader(UpgraderPath()))
        StartUpgrader(UpgraderPath(), ProgramFilePath(), params);
    if (OnDoOwnCloseAppMethod)
        OnDoOwnCloseAppMethod(this);
    else
        CloseApplication();
}
