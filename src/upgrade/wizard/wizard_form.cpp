#include "upgrade/wizard/wizard_form.h"

#include "common/application_title.h"
#include "upgrade/messages/upgrade_messages.h"
#include "upgrade/wizard/auto_updater_wizard.h"
#include "upgrade/wizard/form_controls.h"
#include "upgrade/wizard/upgrade_message_box.h"
#include "upgrade/wizard/upgrade_message_format.h"
#include "upgrade/wizard/wizard_artwork.h"
#include "upgrade/wizard/wizard_host.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>
#include <utility>

namespace {

enum TWizardMessage {
    kCaption = 0,
    kDownloadingTitle = 1,
    kCompletedTitle = 2,
    kCurrentFileGroup = 3,
    kAllFilesGroup = 4,
    kDownloadingFrom = 5,
    kFileSize = 6,
    kTransferRate = 7,
    kTimeLeft = 8,
    kFilePosition = 9,
    kCompletionNote = 10,
    kOkCaption = 16,
    kCancelCaption = 17,
    kNextCaption = 18,
    kPreparing = 22,
    kAbandonQuestion = 27,
};

TauAutoUpdaterWizardForm* gWizardForm = nullptr;

QString Padded(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

} // namespace

TauAutoUpdaterWizardForm::TauAutoUpdaterWizardForm(TauWizardHost& host) : FHost(&host) {
    setObjectName(QStringLiteral("auAutoUpdaterWizardForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    BuildLayout();
}

TauAutoUpdaterWizardForm::~TauAutoUpdaterWizardForm() {
    if (gWizardForm == this)
        gWizardForm = nullptr;
}

void TauAutoUpdaterWizardForm::ApplyOptions() {
    const TauAutoUpdaterWizard& options = FHost->Wizard();
    setWindowFlag(Qt::WindowStaysOnTopHint, options.StayOnTop);
    PlaceFileLocation(options.HideFileLocation);
    Image1->setPixmap(options.Pic118x218.isNull() ? WizardSidePicture()
                                                  : QPixmap::fromImage(options.Pic118x218));
}

void TauAutoUpdaterWizardForm::ShowTexts() {
    const QString name = Padded(LoadResourceString(kComponentNameId));
    SetLabelText(AboutLabel, name);
    SetLabelText(AboutShadow, name);
    SetLabelText(LEstimatedTime, LoadUpgradeMessage(kPreparing));
    setWindowTitle(LoadUpgradeMessage(kCaption));
    SetLabelText(WizardTitle, LoadUpgradeMessage(kDownloadingTitle));
    LCurrentFile->setTitle(Padded(LoadUpgradeMessage(kCurrentFileGroup)));
    LAllFiles->setTitle(Padded(LoadUpgradeMessage(kAllFilesGroup)));
    SetLabelText(LDownloadingFileFrom, LoadUpgradeMessage(kDownloadingFrom));
    FinishBtn->setText(LoadUpgradeMessage(kNextCaption));
    CancelBtn->setText(LoadUpgradeMessage(kCancelCaption));
}

void TauAutoUpdaterWizardForm::ShowCompletion() {
    SetLabelText(WizardTitle, LoadUpgradeMessage(kCompletedTitle));
    SetLabelText(AfterNote, FormatUpgradeMessage(kCompletionNote, {ApplicationTitle()}));
    LCurrentFile->hide();
    LAllFiles->hide();
    CancelBtn->setEnabled(false);
    FinishBtn->setText(LoadUpgradeMessage(kOkCaption));
    FinishBtn->setEnabled(true);
    FinishBtn->setFocus();
}

void TauAutoUpdaterWizardForm::SetFileURL(const QString& url) {
    FileURL->setText(url);
    FileURL->setCursorPosition(0);
}

void TauAutoUpdaterWizardForm::SetFilePosition(int fileNumber, int fileCount) {
    SetLabelText(AllDownloading, FormatUpgradeMessage(kFilePosition, {fileNumber, fileCount}));
}

void TauAutoUpdaterWizardForm::SetFileSize(qint64 bytes) {
    SetLabelText(LFileSize, FormatUpgradeMessage(kFileSize, {bytes / 1024.0}));
}

void TauAutoUpdaterWizardForm::SetProgress(int percentsDone, int totalPercentsDone,
                                           double transferRate, int estimatedTimeLeft) {
    ProgressCurrentFile->setValue(percentsDone);
    ProgressAllFiles->setValue(totalPercentsDone);
    SetLabelText(LTransferRate, FormatUpgradeMessage(kTransferRate, {transferRate}));
    const int t = estimatedTimeLeft;
    SetLabelText(LEstimatedTime, FormatUpgradeMessage(kTimeLeft, {t / 3600, t / 60 % 60, t % 60}));
}

void TauAutoUpdaterWizardForm::FinishBtnClick() {
    FClosing = true;
    close();
}

void TauAutoUpdaterWizardForm::CancelBtnClick() {
    // The same way as the close box, after this click has been handled.
    QMetaObject::invokeMethod(this, &TauAutoUpdaterWizardForm::SystemClose, Qt::QueuedConnection);
}

void TauAutoUpdaterWizardForm::reject() {
    if (CancelBtn->isEnabled())
        CancelBtn->click();
}

void TauAutoUpdaterWizardForm::closeEvent(QCloseEvent* event) {
    // The close box and Alt+F4 ask first. A close from the program itself, such as the
    // application quitting after its main window, does not.
    if (event->spontaneous() && !FClosing) {
        event->ignore();
        CancelBtnClick();
        return;
    }
    FClosing = true;
    Unlink();
    // Not QDialog's handler, which would reject the window and so ask again.
    QWidget::closeEvent(event);
}

void TauAutoUpdaterWizardForm::SystemClose() {
    if (FClosing || FAsking)
        return;
    FAsking = true;
    QPointer<TauAutoUpdaterWizardForm> self(this);
    const bool abandon = UpgradeMessageBox(ApplicationTitle(), LoadUpgradeMessage(kAbandonQuestion),
                                           MB_YESNO | MB_ICONQUESTION) == IDYES;
    // The component may have stopped the upgrade and closed the window while the user read.
    if (!self || FClosing)
        return;
    FAsking = false;
    if (!abandon)
        return;
    TauWizardHost* host = FHost;
    FClosing = true;
    close();
    if (host)
        host->AbortUpgrade();
}

void TauAutoUpdaterWizardForm::Unlink() {
    if (gWizardForm == this)
        gWizardForm = nullptr;
    if (TauWizardHost* host = std::exchange(FHost, nullptr))
        host->SignalWaitEvent();
}

void ShowUpgradeWizard(TauWizardHost& host) {
    if (!gWizardForm)
        gWizardForm = new TauAutoUpdaterWizardForm(host);
    gWizardForm->FHost = &host;
    gWizardForm->ApplyOptions();
    gWizardForm->ShowTexts();
    gWizardForm->show();
}

void ShowCompletionPage() {
    if (gWizardForm)
        gWizardForm->ShowCompletion();
}

TauAutoUpdaterWizardForm* UpgradeWizardForm() {
    return gWizardForm;
}

void DestroyUpgradeWizard() {
    if (TauAutoUpdaterWizardForm* form = std::exchange(gWizardForm, nullptr)) {
        form->FHost = nullptr;
        form->FClosing = true;
        form->close();
    }
}

void ReleaseWizardFormHost(const TauWizardHost* host) {
    if (gWizardForm && gWizardForm->FHost == host)
        DestroyUpgradeWizard();
}

void PlaceAboveUpgradeWizard(QWidget& dialog) {
    if (!gWizardForm)
        return;
    if (gWizardForm->windowFlags() & Qt::WindowStaysOnTopHint)
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    // Both windows exist in the window system from here on; the flags are set before.
    dialog.winId();
    gWizardForm->winId();
    dialog.windowHandle()->setTransientParent(gWizardForm->windowHandle());
}
