// The check: the information file's transfer, the decision and what each outcome shows.
#include "common/handler_guard.h"
#include "common/program_folder.h"
#include "upgrade/au_auto_updater.h"
#include "upgrade/au_info_file.h"
#include "upgrade/au_upgrade_folder.h"
#include "upgrade/wizard/password_form.h"
#include "upgrade/wizard/upgrade_message_box.h"
#include "upgrade/wizard/upgrade_message_format.h"
#include "upgrade/wizard/upgrade_question_form.h"

#include <QScopeGuard>
#include <algorithm>

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
    FFetchingSignature = false;
    RequestCacheOptions = CacheOptions + TauCacheOptions{coPragmaNoCache};
    URL = InfoFileURL;
    OutputFileName.clear();
    FCheckRunning = Read();
    return FCheckRunning;
}

void TauAutoUpdater::StartSignatureTransfer() {
    FFetchingSignature = true;
    URL = InfoFileURL + QStringLiteral(".sig");
    Release();
    FCheckRunning = Read();
}

qint64 TauAutoUpdater::LargestCheckReply() const {
    return FFetchingSignature ? kLargestSignatureFile : kLargestInfoFile;
}

void TauAutoUpdater::InfoFileDone(QIODevice* data) {
    if (FFetchingSignature) {
        SignatureDone(data);
        return;
    }
    if (data == nullptr) {
        // Too large to be an information file: it offers nothing.
        FCheckRunning = false;
        DecideUpgrade(QByteArray());
        return;
    }
    FInfoFile = data->read(kLargestInfoFile);
    StartSignatureTransfer();
}

void TauAutoUpdater::SignatureDone(QIODevice* data) {
    FCheckRunning = false;
    const QByteArray signature = data != nullptr ? data->read(kLargestSignatureFile) : QByteArray();
    // Anyone on the way can change a file fetched over plain HTTP: only the vendor's signature
    // tells the vendor's offer from another.
    if (IsSignedBy(FInfoFile, signature, UpdatePublicKey))
        DecideUpgrade(FInfoFile);
    else
        Unverified();
}

void TauAutoUpdater::InfoFileTooLarge() {
    // No information file or signature is this large: the transfer ends at once, silently.
    Release();
    InfoFileDone(nullptr);
}

bool TauAutoUpdater::WasSkipped(const QString& version) const {
    return !version.isEmpty() && version == SkippedUpgradeVersion(ProgramFolder());
}

qint64 TauAutoUpdater::DownloadSize() const {
    if (FUpgradeMethod == umRedirectToURL)
        return -1;
    qint64 total = 0;
    for (const TauFileDigest& digest : FDigests)
        total += digest.Size;
    return total;
}

// The signed file must vouch for every file it makes the client download and install.
static bool VouchesForEveryFile(const TauInfoFileContent& offered) {
    return offered.Method == umRedirectToURL ||
           std::all_of(offered.Digests.begin(), offered.Digests.end(),
                       [](const TauFileDigest& digest) { return digest.Complete(); });
}

void TauAutoUpdater::DecideUpgrade(const QByteArray& infoFile) {
    const TauInfoFileContent offered = ParseInfoFile(infoFile);
    const bool newer = IsNewerVersion(VersionControl, offered, VersionNumber, VersionDate) &&
                       !offered.Files.isEmpty() &&
                       // A version the user skipped, or whose upgrade was undone (it would fail
                       // the same way), only a manual check offers again.
                       !(FAutoChecking && WasSkipped(offered.Version.trimmed()));
    if (newer && !VouchesForEveryFile(offered)) {
        Unverified();
        return;
    }
    FFiles = offered.Files;
    FDigests = offered.Digests;
    FOfferedVersion = offered.Version.trimmed();
    FUpdateAvailable = newer;
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
    const TUpgradeAnswer answer = FUpdateAvailable && ShowMessages.Has(mAskUpgrade)
                                      ? AskUpgrade(message, DownloadSize())
                                      : uaUpgrade;
    if (answer == uaSkipVersion)
        SkipUpgradeVersion(ProgramFolder(), FOfferedVersion);
    if (!FUpdateAvailable || answer != uaUpgrade) {
        if (OnLaterUpgrade)
            OnLaterUpgrade(this);
    } else if (FUpgradeMethod == umRedirectToURL) {
        OpenURL(FFiles.first(), true);
    } else {
        DownloadNextFile(true);
    }
}

void TauAutoUpdater::NoInfoFile() {
    if (FFetchingSignature) {
        SignatureDone(nullptr);
        return;
    }
    FCheckRunning = false;
    if (OnNoInfoFile)
        OnNoInfoFile(this);
    if (ShowMessages.Has(mNoInfoFile))
        ShowUpgradeMessageById(kNoInfoFile, MB_ICONERROR);
    SignalEvent(FWaitEvent);
}

void TauAutoUpdater::Unverified() {
    // Whatever an unverified file offers is forgotten, as if there were no information file.
    FCheckRunning = false;
    FUpdateAvailable = false;
    FFiles.clear();
    FDigests.clear();
    if (OnNoInfoFile)
        OnNoInfoFile(this);
    if (ShowMessages.Has(mNoInfoFile))
        ShowUpgradeMessageById(kNoInfoFile, MB_ICONERROR);
    if (OnUnverified)
        OnUnverified(this, FAutoChecking);
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
