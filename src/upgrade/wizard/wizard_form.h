#pragma once

#include <QDialog>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TauWizardHost;

// The progress window of an upgrade: the files downloading, then the completion page. At most
// one exists; it belongs to the component that opened it and frees itself when it closes.
class TauAutoUpdaterWizardForm : public QDialog {
    Q_OBJECT
public:
    // What the download shows as files proceed.
    void SetFileURL(const QString& url);
    // "Downloading 2 of 3".
    void SetFilePosition(int fileNumber, int fileCount);
    void SetFileSize(qint64 bytes);
    // Both bars in percent, the rate in Kb/s and the time left in seconds.
    void SetProgress(int percentsDone, int totalPercentsDone, double transferRate,
                     int estimatedTimeLeft);

    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* WizardTitle = nullptr;
    QLabel* AfterNote = nullptr;
    QGroupBox* LCurrentFile = nullptr;
    QLabel* LDownloadingFileFrom = nullptr;
    QLineEdit* FileURL = nullptr;
    QLabel* LFileSize = nullptr;
    QLabel* LTransferRate = nullptr;
    QLabel* LEstimatedTime = nullptr;
    QProgressBar* ProgressCurrentFile = nullptr;
    QGroupBox* LAllFiles = nullptr;
    QLabel* AllDownloading = nullptr;
    QProgressBar* ProgressAllFiles = nullptr;
    QFrame* Bevel1 = nullptr;
    QLabel* AboutShadow = nullptr;
    QLabel* AboutLabel = nullptr;
    QPushButton* FinishBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape presses the cancel button, as long as it can be pressed.
    void reject() override;

private:
    friend void ShowUpgradeWizard(TauWizardHost& host);
    friend void ShowCompletionPage();
    friend void DestroyUpgradeWizard();
    friend void ReleaseWizardFormHost(const TauWizardHost* host);

    explicit TauAutoUpdaterWizardForm(TauWizardHost& host);
    ~TauAutoUpdaterWizardForm() override;
    void BuildLayout();
    void ApplyOptions();
    void PlaceFileLocation(bool hidden);
    void ShowTexts();
    void ShowCompletion();
    void FinishBtnClick();
    void CancelBtnClick();
    // The window's close command (close box, Alt+F4, the cancel button): asks first.
    void SystemClose();
    // Ends the window: unlinks it, lets the component's waiter go and frees it later.
    void Unlink();

    TauWizardHost* FHost;
    bool FClosing = false;
    bool FAsking = false;
};

// Opens the progress window for a component, or takes over the one that is open.
void ShowUpgradeWizard(TauWizardHost& host);
// Switches the open progress window to its completion page.
void ShowCompletionPage();
// The open progress window; null when none is.
TauAutoUpdaterWizardForm* UpgradeWizardForm();
// Closes the open progress window at once, without asking and without calling its component
// back: for the component that stops or abandons the upgrade itself.
void DestroyUpgradeWizard();
// A component going away takes its progress window along.
void ReleaseWizardFormHost(const TauWizardHost* host);
// Makes Dialog, a window of its own about to show, owned by the open progress window: above it,
// and on top as it is. Dialog stays no child of it, so the progress window can go while Dialog
// runs its own event loop.
void PlaceAboveUpgradeWizard(QWidget& dialog);
