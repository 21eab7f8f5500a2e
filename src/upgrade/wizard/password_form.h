#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TauWizardHost;

// The login for a file the server protects; modal.
class TauAutoUpdaterPasswordForm : public QDialog {
    Q_OBJECT
public:
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QWidget* BottomPanel = nullptr;
    QLabel* UsernameLab = nullptr;
    QLabel* PasswordLab = nullptr;
    QLineEdit* UsernameEdit = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    friend bool ShowPasswordDialog(TauWizardHost& host);
    friend void ReleasePasswordFormHost(const TauWizardHost* host);

    explicit TauAutoUpdaterPasswordForm(TauWizardHost& host);
    ~TauAutoUpdaterPasswordForm() override;
    void ShowLogin();
    void OKBtnClick();

    TauWizardHost* FHost;
};

// Asks for the login of the file the component is transferring; on OK the user name and the
// password become the component's HTTPUsername and HTTPPassword. True for OK; Cancel, Escape,
// the close box, and asking while a login is already open are all false.
bool ShowPasswordDialog(TauWizardHost& host);
// A component going away cancels its login.
void ReleasePasswordFormHost(const TauWizardHost* host);
