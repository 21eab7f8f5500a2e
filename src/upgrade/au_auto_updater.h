#pragma once

#include "common/date_time.h"
#include "upgrade/au_auto_updater_types.h"
#include "upgrade/au_http.h"
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

    // The host has applied its settings: fires OnAfterRestart when the program was started with
    // RestartParams as its first argument.
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

    // The error code OnLostFile and the file-error question give a pending file that could not
    // be written: there is no HTTP status for it.
    static constexpr int kUnwritableFile = 0;

    // What the upgrade windows see of the component.
    TauWizardHost& WizardHost() const;
    void BindTransferNotifications();
    bool TransferStopped() const;
    void UpdateAutoCheckTimer();
    void AutoCheckTimerFired();

    // The check (the information file).
    bool StartInfoTransfer();
    void InfoFileDone(QIODevice* data);
    void InfoFileTooLarge();
    void DecideUpgrade(const QByteArray& infoFile);
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
    void FileError(int errorCode);
    void DiscardPartialFile();
    void StopUpgrade();
    void DeletePendingFiles();
    void RunUpgrader(const QString& params);

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
};

// The share of all files done: PercentsDone of the file at FileIndex (from 0) out of FileCount,
// plus the files before it.
quint8 TotalPercentsDone(quint8 percentsDone, int fileIndex, int fileCount);
