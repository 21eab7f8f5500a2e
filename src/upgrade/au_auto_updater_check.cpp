// The check: the information file's transfer, the decision and what each outcome shows.
#include "common/handler_guard.h"
#include "upgrade/au_auto_updater.h"
#include "upgrade/au_info_file.h"
#include "upgrade/wizard/password_form.h"
#include "upgrade/wizard/upgrade_message_box.h"
#include "upgrade/wizard/upgrade_message_format.h"
#include "upgrade/wizard/upgrade_question_form.h"

#include <QScopeGuard>

namespace {

enum TCheckMessage {
    kNoNewerVersion = 24,
    kNoInfoFile = 25,
    kHostUnreachable = 26,
    kConnectionLost = 30,
};

} // namespace

bool TauAutoUpdater::CheckUpdate(bool checkOnly) {
    // The files of an upgrade are downloading: its check is long over.
    if (FUpgrading)
        return FUpdateAvailable;
    if (checkOnly)
        FCheckOnly = true;
    const auto endCheckOnly = qScopeGuard([this] { FCheckOnly = false; });
    FAborted = false;
    FAutoChecking = false;
    // Its worker may still be winding down after the last outcome: what counts is whether an
    // outcome is still to come.
    if (!FCheckRunning)
        StartInfoTransfer();
    // A check already running is awaited as well: its outcome is the answer.
    if (checkOnly && FCheckRunning)
        WaitWithMessages(FWaitEvent, 0, true);
    return FUpdateAvailable;
}

bool TauAutoUpdater::StartInfoTransfer() {
    FInfoMode = true;
    RequestCacheOptions = CacheOptions + TauCacheOptions{coPragmaNoCache};
    URL = InfoFileURL;
    OutputFileName.clear();
    FCheckRunning = Read();
    return FCheckRunning;
}

void TauAutoUpdater::InfoFileDone(QIODevice* data) {
    FCheckRunning = false;
    DecideUpgrade(data != nullptr ? data->read(kLargestInfoFile) : QByteArray());
}

void TauAutoUpdater::InfoFileTooLarge() {
    // No information file is this large: it offers nothing. The transfer ends at once, silently.
    Release();
    InfoFileDone(nullptr);
}

void TauAutoUpdater::DecideUpgrade(const QByteArray& infoFile) {
    const TauInfoFileContent offered = ParseInfoFile(infoFile);
    FFiles = offered.Files;
    FUpdateAvailable =
        IsNewerVersion(VersionControl, offered, VersionNumber, VersionDate) && !FFiles.isEmpty();
    if (FUpdateAvailable) {
        FUpgradeMethod = offered.Method;
        if (OnBeginUpgrade)
            OnBeginUpgrade(this, offered.Message, FUpgradeMethod, FFiles, FUpdateAvailable);
        if (!FCheckOnly)
            AskAndUpgrade(offered.Message);
    } else {
        if (OnNoUpdateAvailable)
            OnNoUpdateAvailable(this);
        if (!FAutoChecking && ShowMessages.Has(mNoUpdateAvailable))
            ShowUpgradeMessageById(kNoNewerVersion, MB_ICONINFORMATION);
    }
    SignalEvent(FWaitEvent);
}

void TauAutoUpdater::AskAndUpgrade(const QString& message) {
    if (!FUpdateAvailable || (ShowMessages.Has(mAskUpgrade) && !AskUpgrade(message))) {
        if (OnLaterUpgrade)
            OnLaterUpgrade(this);
    } else if (FUpgradeMethod == umRedirectToURL) {
        OpenURL(FFiles.first(), true);
    } else {
        DownloadNextFile(true);
    }
}

void TauAutoUpdater::NoInfoFile() {
    FCheckRunning = false;
    if (OnNoInfoFile)
        OnNoInfoFile(this);
    if (ShowMessages.Has(mNoInfoFile))
        ShowUpgradeMessageById(kNoInfoFile, MB_ICONERROR);
    SignalEvent(FWaitEvent);
}

void TauAutoUpdater::HostUnreachable() {
    FCheckRunning = false;
    const QString url = URL;
    const QString host = HostFromURL(url);
    if (OnHostUnreachable)
        OnHostUnreachable(this, url, host);
    if (FAutoChecking) {
        // The one automatic check comes again at the timer's interval.
        FAutoCheckDone = false;
        RunHandler([this] { UpdateAutoCheckTimer(); });
    } else if (ShowMessages.Has(mHostUnreachable)) {
        ShowUpgradeMessageBox(
            FormatUpgradeMessage(kHostUnreachable, {QStringLiteral("http://") + host}),
            MB_ICONERROR);
    }
    StopUpgrade();
}

void TauAutoUpdater::ConnectionLost() {
    FCheckRunning = false;
    if (!FInfoMode)
        DiscardPartialFile();
    if (OnConnLost)
        OnConnLost(this);
    if (ShowMessages.Has(mConnLost))
        ShowUpgradeMessageById(kConnectionLost, MB_ICONERROR);
    StopUpgrade();
}

void TauAutoUpdater::PasswordRequired(const QString& realm, bool& tryAgain) {
    if (OnPasswordRequest)
        OnPasswordRequest(this, realm, tryAgain);
    if (tryAgain || !ShowMessages.Has(mPasswordRequest))
        return;
    tryAgain = ShowPasswordDialog(WizardHost());
    if (!tryAgain)
        AbortUpgrade();
}
