#pragma once

#include "common/date_time.h"
#include "upgrade/au_auto_updater_types.h"
#include "upgrade/au_http.h"
#include "upgrade/au_info_file.h"
#include "upgrade/au_signature.h"
#include "upgrade/au_upgrade_folder.h"
#include "upgrade/au_utils.h"
#include "upgrade/wizard/auto_updater_wizard.h"

#include <QStringList>
#include <functional>
#include <memory>

// The component that keeps the client up to date: it fetches the upgrade information file from
// the vendor's site, decides whether it offers a newer version, asks the user, downloads the
// listed files as pending files beside the program ("<name>.uTMP") and hands them to the
// upgrader program, which puts them in place and restarts the client. It is itself the HTTP
// transfer of its files; everything it does runs in the UI thread.
//
// Configure it, then call Loaded(), as a host window does once its settings are applied.

class TauAutoUpdater;
class TauWizardHost;

using TauAutoUpdaterNotifyEvent = std::function<void(TauAutoUpdater* sender)>;
using TauBeginUpgradeEvent =
    std::function<void(TauAutoUpdater* sender, const QString& upgradeMsg,
                       TauUpgradeMethod upgradeMethod, const QStringList& files, bool& canUpgrade)>;
using TauEndUpgradeEvent = std::function<void(TauAutoUpdater* sender, bool& restartImediately)>;
using TauUpgradeProgressEvent = std::function<void(
    TauAutoUpdater* sender, const QString& fileURL, int fileSize, int bytesRead, int elapsedTime,
    int estimatedTimeLeft, quint8 percentsDone, quint8 totalPercentsDone, float transferRate)>;
using TauFileStartEvent = std::function<void(TauAutoUpdater* sender, const QString& fileURL,
                                             int fileSize, TDateTime fileTime, bool& canUpgrade)>;
using TauFileDoneEvent = std::function<void(TauAutoUpdater* sender, const QString& fileName)>;
using TauHostUnreachableEvent =
    std::function<void(TauAutoUpdater* sender, const QString& url, const QString& hostname)>;
using TauLostFileEvent = std::function<void(TauAutoUpdater* sender, const QString& fileURL,
                                            int errorCode, bool& continueUpgrade)>;
using TauPasswordRequestEvent =
    std::function<void(TauAutoUpdater* sender, const QString& realm, bool& tryAgain)>;
using TauUnverifiedEvent = std::function<void(TauAutoUpdater* sender, bool automatic)>;
using TauUpgraderFailedEvent = std::function<void(TauAutoUpdater* sender, const QString& reason)>;
using TauUpgradeUndoneEvent =
    std::function<void(TauAutoUpdater* sender, const QString& version, TauUndoReason reason)>;

class TauAutoUpdater : public TauCustomHTTP {
    Q_OBJECT
public:
    explicit TauAutoUpdater(QObject* owner = nullptr);
    ~TauAutoUpdater() override;

    // Check once, AutoCheckDelay after start-up, and again at that interval while the machine is
    // off line or the host unreachable. Assigning re-arms or stops the timer; a timer the system
    // refuses is an EFailure "Not enough timers available".
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool autoCheck);
    // Milliseconds; read when the timer is armed.
    int AutoCheckDelay = 10000;
    // For the listed files; the information file is always asked for without any cache.
    TauCacheOptions CacheOptions{coReloadIfNoExpireInformation, coReloadUpdatedObjects,
                                 coCreateTempFilesIfCantCache};
    TauAutoUpdaterInfo InfoFile;
    QString InfoFileURL = QStringLiteral("http://");
    // The argument the restarted program gets. An empty text is stored as one blank.
    const QString& RestartParams() const { return FRestartParams; }
    void SetRestartParams(const QString& params);
    TauMiscFilesUpgradeBehavior MiscFilesUpgrade = mfuAlwaysDownload;
    TauAutoUpdaterVersionControl VersionControl = byDate;
    // "MM/dd/yyyy": the release date of the running version; today by default.
    QString VersionDate;
    // A design-time aid; no effect at run time.
    bool VersionDateAutoSet = true;
    // The dotted version of the running program.
    QString VersionNumber;
    TauAutoUpdaterShowMessages ShowMessages{mAskUpgrade, mConnLost, mLostFile, mPasswordRequest};
    TauAutoUpdaterWizard Wizard;

    // Only an information file signed with this key (32 bytes) offers anything.
    QByteArray UpdatePublicKey = BuiltInUpdatePublicKey();

    // Whether the machine is on line, asked before each automatic check; tests replace it.
    std::function<bool()> OnlineTest = IsOnline;

    // Events; all run in the UI thread.
    TauBeginUpgradeEvent OnBeginUpgrade;
    TauEndUpgradeEvent OnEndUpgrade;
    TauAutoUpdaterNotifyEvent OnLaterUpgrade;
    TauUpgradeProgressEvent OnProgress;
    TauFileStartEvent OnFileStart;
    TauFileDoneEvent OnFileDone;
    TauAutoUpdaterNotifyEvent OnDoOwnCloseAppMethod;
    TauAutoUpdaterNotifyEvent OnAfterRestart;
    TauAutoUpdaterNotifyEvent OnAborted;
    TauAutoUpdaterNotifyEvent OnConnLost;
    TauHostUnreachableEvent OnHostUnreachable;
    TauAutoUpdaterNotifyEvent OnNoUpdateAvailable;
    TauAutoUpdaterNotifyEvent OnNoInfoFile;
    TauLostFileEvent OnLostFile;
    TauPasswordRequestEvent OnPasswordRequest;
    // The information file has no valid signature of UpdatePublicKey, or does not give the size
    // and digest of a file it lists: it offers nothing. OnNoInfoFile has fired before.
    TauUnverifiedEvent OnUnverified;
    // The upgrader could not be written or started: the client goes on running and the pending
    // files are gone. Reason is the system's.
    TauUpgraderFailedEvent OnUpgraderFailed;
    // Fired by Loaded() when the upgrader put the old files back after the last upgrade. The
    // automatic check does not offer that version again, nor a version the user chose to skip
    // in the question.
    TauUpgradeUndoneEvent OnUpgradeUndone;

    // The host has applied its settings: fires OnAfterRestart when the program was started with
    // RestartParams as its first argument, and OnUpgradeUndone when the last upgrade was undone.
    void Loaded();

    // Starts a check of the information file. Without CheckOnly it returns at once the verdict of
    // the last check (false before any), and a newer version found leads on to the question and
    // the upgrade. With CheckOnly it waits, keeping the user interface alive, until the check has
    // ended, returns whether a newer version with files is available, and neither asks nor
    // upgrades. While an upgrade downloads, nothing is started and neither way waits.
    bool CheckUpdate(bool checkOnly);
    // Abandons the running upgrade: stops the transfer, closes the progress window, deletes every
    // pending file and fires OnAborted.
    void AbortUpgrade();
    // Restarts the client through the upgrader, with Params or else RestartParams and the upgrade
    // method's digit. Without a completed upgrade the pending files are deleted first.
    void RestartApplication(const QString& params = {});

    // The files the last check listed.
    const QStringList& Files() const { return FFiles; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    class TWizardHost;

    // The error codes OnLostFile and the file-error messages give where there is no HTTP
    // status: a pending file that could not be written, a file whose size or SHA-256 is not
    // what the signed information file lists, an address without a file name.
    static constexpr int kUnwritableFile = 0;
    static constexpr int kUnverifiedFile = 1;
    static constexpr int kNoFileName = 2;

    // What the upgrade windows see of the component.
    TauWizardHost& WizardHost() const;
    void BindTransferNotifications();
    bool TransferStopped() const;
    void UpdateAutoCheckTimer();
    void AutoCheckTimerFired();

    // The check (the information file and its signature).
    bool StartInfoTransfer();
    void StartSignatureTransfer();
    qint64 LargestCheckReply() const;
    void InfoFileDone(QIODevice* data);
    void SignatureDone(QIODevice* data);
    void InfoFileTooLarge();
    void DecideUpgrade(const QByteArray& infoFile);
    bool WasSkipped(const QString& version) const;
    // The size of all the files the offer would download; -1 when nothing is downloaded.
    qint64 DownloadSize() const;
    void Unverified();
    void AskAndUpgrade(const QString& message);
    void NoInfoFile();
    void HostUnreachable();
    void ConnectionLost();
    void PasswordRequired(const QString& realm, bool& tryAgain);

    // The upgrade (the listed files).
    void DownloadNextFile(bool first);
    void CompleteUpgrade();
    void FileHeaders(int contentLength, TDateTime lastModified, bool& continueTransfer);
    bool SizeDiffers(int contentLength) const;
    void FileProgress(int contentLength, int bytesRead, int elapsedTime, int estimatedTimeLeft,
                      quint8 percentsDone, float transferRate);
    void FileDone(QIODevice* data);
    bool FileMatchesDigest() const;
    void FileError(int errorCode);
    void FileRefused(int errorCode);
    bool AskToSkipFile(int errorCode, bool canSkip);
    QString PartialFile() const;
    void DiscardPartialFile();
    void StopUpgrade();
    void DeletePendingFiles();
    void RunUpgrader(const QString& params);
    void UpgraderFailed(const QString& reason);

    bool FAutoCheck = false;
    QString FRestartParams = QStringLiteral("/afterupgrade");
    std::unique_ptr<TWizardHost> FWizardHost;

    QStringList FFiles;
    bool FUpdateAvailable = false;
    TauUpgradeMethod FUpgradeMethod = umSelfUpgrade;
    bool FCheckOnly = false;
    bool FInfoMode = false;
    bool FAutoCheckDone = false;
    bool FAutoChecking = false;
    // From the start of a check's transfer until its outcome is being handled.
    bool FCheckRunning = false;
    // The check has the information file and fetches its signature.
    bool FFetchingSignature = false;
    QByteArray FInfoFile;
    // What the last verified information file says of its files, beside FFiles.
    QList<TauFileDigest> FDigests;
    QString FOfferedVersion;
    TauEventHandle FWaitEvent = kNoEvent;
    // The automatic check's timer; 0 while none runs.
    int FTimerId = 0;

    // From the first file of an upgrade to its end, however it ends.
    bool FUpgrading = false;
    bool FAborted = false;
    bool FUpgradeCompleted = false;
    int FFileIndex = 0;
    TDateTime FFileTime;
    // The pending file of the current download.
    QString FCurrentFile;
    // The files downloaded and checked so far, for the upgrader to check again.
    QList<TauVerifiedFile> FVerifiedFiles;
};

// The share of all files done: PercentsDone of the file at FileIndex (from 0) out of FileCount,
// plus the files before it.
quint8 TotalPercentsDone(quint8 percentsDone, int fileIndex, int fileCount);
