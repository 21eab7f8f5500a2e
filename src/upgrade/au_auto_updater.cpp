// Construction, settings and the windows' view of the component; the check, the timer and the
// upgrade live in the other au_auto_updater_*.cpp files.
#include "upgrade/au_auto_updater.h"

#include "common/program_folder.h"
#include "upgrade/au_info_file.h"
#include "upgrade/au_upgrade_folder.h"
#include "upgrade/au_upgrader_launch.h"
#include "upgrade/wizard/wizard_host.h"

#include <QCoreApplication>
#include <QFile>

// What the upgrade windows see of the component. A member of its own rather than a base of the
// component: the windows' HTTPUsername() would hide the component's HTTPUsername setting.
class TauAutoUpdater::TWizardHost : public TauWizardHost {
public:
    explicit TWizardHost(TauAutoUpdater& updater) : FUpdater(updater) {}
    ~TWizardHost() override = default;

    const TauAutoUpdaterWizard& Wizard() const override { return FUpdater.Wizard; }
    QString HTTPUsername() const override { return FUpdater.HTTPUsername; }
    void SetHTTPUsername(const QString& username) override { FUpdater.HTTPUsername = username; }
    void SetHTTPPassword(const QString& password) override { FUpdater.HTTPPassword = password; }
    QString CurrentFileName() const override { return FUpdater.GetURLFileName(); }
    void AbortUpgrade() override { FUpdater.AbortUpgrade(); }
    void SignalWaitEvent() override { SignalEvent(FUpdater.FWaitEvent); }

private:
    TauAutoUpdater& FUpdater;
};

TauAutoUpdater::TauAutoUpdater(QObject* owner)
    : TauCustomHTTP(owner), VersionDate(FormatVersionDate(TClock::Now().date())),
      FWizardHost(std::make_unique<TWizardHost>(*this)) {
    // A pending file being written is hidden and temporary, so that nobody takes it for whole.
    OutputFileAttributes.Incomplete = {atrArchive, atrHidden, atrTemporary};
    BindTransferNotifications();
    // The upgrader of an earlier upgrade has done its work.
    RemoveUpgraderCopies();
}

TauAutoUpdater::~TauAutoUpdater() {
    BeginDestruction();
    FAutoCheck = false;
    UpdateAutoCheckTimer();
}

TauWizardHost& TauAutoUpdater::WizardHost() const {
    return *FWizardHost;
}

void TauAutoUpdater::SetRestartParams(const QString& params) {
    FRestartParams = params.isEmpty() ? QStringLiteral(" ") : params;
}

void TauAutoUpdater::Loaded() {
    if (const std::optional<TauUndoneUpgrade> undone = TakeUpgradeNotice(ProgramFolder());
        undone && OnUpgradeUndone)
        OnUpgradeUndone(this, undone->Version, undone->Reason);
    if (!OnAfterRestart)
        return;
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && arguments.at(1) == FRestartParams)
        OnAfterRestart(this);
}

bool TauAutoUpdater::TransferStopped() const {
    return FInfoMode ? !FCheckRunning : !FUpgrading;
}

void TauAutoUpdater::BindTransferNotifications() {
    // A transfer that was stopped may still have a report on its way to the UI thread, its outcome
    // included: from then on nothing it reports counts, or an abandoned upgrade would go on.
    OnHeaderInfo = [this](TauCustomHTTP*, int, const QString&, const QString&, const QString&,
                          const QString&, int contentLength, const QString&, TDateTime,
                          TDateTime lastModified, TDateTime, const QString&,
                          bool& continueTransfer) {
        if (TransferStopped())
            continueTransfer = false;
        else if (!FInfoMode)
            FileHeaders(contentLength, lastModified, continueTransfer);
        else if (contentLength > LargestCheckReply())
            continueTransfer = false;
    };
    OnTransferProgress = [this](TauCustomHTTP*, const QString&, int contentLength, int bytesRead,
                                int elapsedTime, int estimatedTimeLeft, quint8 percentDone,
                                float transferRate, QIODevice*) {
        if (TransferStopped())
            return;
        if (!FInfoMode)
            FileProgress(contentLength, bytesRead, elapsedTime, estimatedTimeLeft, percentDone,
                         transferRate);
        else if (bytesRead > LargestCheckReply())
            InfoFileTooLarge();
    };
    OnDone = [this](TauCustomHTTP*, const QString&, int, QIODevice* data) {
        if (TransferStopped())
            return;
        if (FInfoMode)
            InfoFileDone(data);
        else
            FileDone(data);
    };
    OnSkipped = [this](TauCustomHTTP*) {
        if (TransferStopped())
            return;
        // In a check only a reply too large for its kind is refused at its headers.
        if (FInfoMode)
            InfoFileDone(nullptr);
        else
            DownloadNextFile(false);
    };
    OnConnectionLost = [this](TauCustomHTTP*, const QString&, int, int, QIODevice*) {
        if (!TransferStopped())
            ConnectionLost();
    };
    OnNoResponse = [this](TauCustomHTTP*) {
        if (!TransferStopped())
            HostUnreachable();
    };
    OnHTTPError = [this](TauCustomHTTP*, int statusCode, QIODevice*) {
        if (TransferStopped())
            return;
        if (FInfoMode)
            NoInfoFile();
        else
            FileError(statusCode);
    };
    OnPasswordRequired = [this](TauCustomHTTP*, const QString& realm, bool& tryAgain) {
        if (!TransferStopped())
            PasswordRequired(realm, tryAgain);
    };
    OnOutputFailed = [this](TauCustomHTTP*, const QString&) {
        if (TransferStopped())
            return;
        // Only a file download has an output file: its pending file could not be written.
        DiscardPartialFile();
        FileError(kUnwritableFile);
    };
}
