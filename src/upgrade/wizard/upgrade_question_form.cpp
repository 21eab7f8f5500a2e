#include "upgrade/wizard/upgrade_question_form.h"

#include "common/application_title.h"
#include "upgrade/messages/upgrade_messages.h"
#include "upgrade/wizard/form_controls.h"
#include "upgrade/wizard/upgrade_message_format.h"
#include "upgrade/wizard/wizard_artwork.h"

#include <QLabel>
#include <QPushButton>

namespace {

enum TQuestionMessage { kCaption = 0, kYesCaption = 14, kLaterCaption = 19, kQuestion = 23 };

constexpr int kClientWidth = 318;
constexpr int kClientHeight = 119;
constexpr int kBottomHeight = 45;
constexpr int kLabelLeft = 45;
constexpr int kLabelTop = 5;
constexpr int kLabelRightGap = 11;

TauAutoUpdaterUpgradeMessageForm* gQuestionForm = nullptr;

} // namespace

TauAutoUpdaterUpgradeMessageForm::TauAutoUpdaterUpgradeMessageForm() {
    setObjectName(QStringLiteral("auAutoUpdaterUpgradeMessageForm"));
    MakeDialogFrame(this, kClientWidth, kClientHeight);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    Icon = PictureLabel(this, QStringLiteral("Icon"), QRect(7, 5, 32, 32), UpgradeQuestionIcon());
    Label1 = WrappingLabel(this, QStringLiteral("Label1"), kLabelLeft, kLabelTop,
                           kClientWidth - kLabelLeft - kLabelRightGap);
    BottomPanel = MakeBottomPanel(this, kBottomHeight);
    YesBtn = Placed<QPushButton>(BottomPanel, QStringLiteral("YesBtn"), QRect(78, 13, 75, 23));
    YesBtn->setDefault(true);
    LaterBtn = Placed<QPushButton>(BottomPanel, QStringLiteral("LaterBtn"), QRect(167, 13, 75, 23));
    connect(YesBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(LaterBtn, &QPushButton::clicked, this, &QDialog::reject);
    gQuestionForm = this;
}

TauAutoUpdaterUpgradeMessageForm::~TauAutoUpdaterUpgradeMessageForm() {
    gQuestionForm = nullptr;
}

void TauAutoUpdaterUpgradeMessageForm::ShowQuestion(const QString& message) {
    const QString framed =
        message.isEmpty() ? message : QLatin1Char('\n') + message + QLatin1Char('\n');
    SetLabelText(Label1, FormatUpgradeMessage(kQuestion, {ApplicationTitle(), framed}));
    setWindowTitle(LoadUpgradeMessage(kCaption));
    YesBtn->setText(LoadUpgradeMessage(kYesCaption));
    LaterBtn->setText(LoadUpgradeMessage(kLaterCaption));
    FitToMessage(this, Label1, BottomPanel);
}

bool AskUpgrade(const QString& message) {
    if (gQuestionForm)
        return false;
    TauAutoUpdaterUpgradeMessageForm form;
    form.ShowQuestion(message);
    // Escape and the close box reject the question: Later.
    return form.exec() == QDialog::Accepted;
}
