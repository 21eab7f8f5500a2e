#include "upgrade/wizard/password_form.h"

#include "upgrade/messages/upgrade_messages.h"
#include "upgrade/wizard/form_controls.h"
#include "upgrade/wizard/upgrade_message_format.h"
#include "upgrade/wizard/wizard_artwork.h"
#include "upgrade/wizard/wizard_form.h"
#include "upgrade/wizard/wizard_host.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

enum TPasswordMessage {
    kCaption = 11,
    kUsername = 12,
    kPassword = 13,
    kOkCaption = 16,
    kCancelCaption = 17,
    kProtectedFile = 29,
};

constexpr int kClientWidth = 297;
constexpr int kClientHeight = 141;
constexpr int kBottomHeight = 98;
constexpr int kLabelLeft = 45;
constexpr int kLabelTop = 5;
constexpr int kLabelRightGap = 18;

TauAutoUpdaterPasswordForm* gPasswordForm = nullptr;

} // namespace

TauAutoUpdaterPasswordForm::TauAutoUpdaterPasswordForm(TauWizardHost& host) : FHost(&host) {
    setObjectName(QStringLiteral("auAutoUpdaterPasswordForm"));
    MakeDialogFrame(this, kClientWidth, kClientHeight);
    Image1 = PictureLabel(this, QStringLiteral("Image1"), QRect(7, 5, 32, 32), PasswordIcon());
    Label1 = WrappingLabel(this, QStringLiteral("Label1"), kLabelLeft, kLabelTop, 246);
    BottomPanel = MakeBottomPanel(this, kBottomHeight);
    UsernameLab = PlacedLabel(BottomPanel, QStringLiteral("UsernameLab"), 45, 14);
    PasswordLab = PlacedLabel(BottomPanel, QStringLiteral("PasswordLab"), 45, 38);
    UsernameEdit =
        Placed<QLineEdit>(BottomPanel, QStringLiteral("UsernameEdit"), QRect(122, 10, 157, 21));
    PasswordEdit =
        Placed<QLineEdit>(BottomPanel, QStringLiteral("PasswordEdit"), QRect(122, 34, 157, 21));
    PasswordEdit->setEchoMode(QLineEdit::Password);
    PasswordEdit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // "*"
    OKBtn = Placed<QPushButton>(BottomPanel, QStringLiteral("OKBtn"), QRect(114, 68, 75, 23));
    OKBtn->setDefault(true);
    CancelBtn =
        Placed<QPushButton>(BottomPanel, QStringLiteral("CancelBtn"), QRect(204, 68, 75, 23));
    connect(OKBtn, &QPushButton::clicked, this, &TauAutoUpdaterPasswordForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    gPasswordForm = this;
}

TauAutoUpdaterPasswordForm::~TauAutoUpdaterPasswordForm() {
    gPasswordForm = nullptr;
}

void TauAutoUpdaterPasswordForm::ShowLogin() {
    Label1->setFixedWidth(kClientWidth - kLabelLeft - kLabelRightGap);
    SetLabelText(Label1, FormatUpgradeMessage(kProtectedFile, {FHost->CurrentFileName()}));
    setWindowTitle(LoadUpgradeMessage(kCaption));
    SetLabelText(UsernameLab, LoadUpgradeMessage(kUsername));
    UsernameEdit->setText(FHost->HTTPUsername());
    SetLabelText(PasswordLab, LoadUpgradeMessage(kPassword));
    OKBtn->setText(LoadUpgradeMessage(kOkCaption));
    CancelBtn->setText(LoadUpgradeMessage(kCancelCaption));
    FitToMessage(this, Label1, BottomPanel);
    // A forgotten password is typed again, a known user name is offered.
    (UsernameEdit->text().isEmpty() ? UsernameEdit : PasswordEdit)->setFocus();
}

void TauAutoUpdaterPasswordForm::OKBtnClick() {
    if (!FHost)
        return;
    FHost->SetHTTPUsername(UsernameEdit->text());
    FHost->SetHTTPPassword(PasswordEdit->text());
    accept();
}

bool ShowPasswordDialog(TauWizardHost& host) {
    if (gPasswordForm)
        return false;
    TauAutoUpdaterPasswordForm form(host);
    form.ShowLogin();
    PlaceAboveUpgradeWizard(form);
    return form.exec() == QDialog::Accepted;
}

void ReleasePasswordFormHost(const TauWizardHost* host) {
    if (gPasswordForm && gPasswordForm->FHost == host) {
        gPasswordForm->FHost = nullptr;
        gPasswordForm->reject();
    }
}
