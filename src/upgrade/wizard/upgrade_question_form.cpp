#include "upgrade/wizard/upgrade_question_form.h"

#include "common/application_title.h"
#include "upgrade/messages/extra_messages.h"
#include "upgrade/messages/upgrade_messages.h"
#include "upgrade/wizard/form_controls.h"
#include "upgrade/wizard/upgrade_message_format.h"
#include "upgrade/wizard/wizard_artwork.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace {

enum TQuestionMessage { kCaption = 0, kYesCaption = 14, kLaterCaption = 19, kQuestion = 23 };

constexpr int kClientWidth = 318;
constexpr int kClientHeight = 119;
constexpr int kBottomHeight = 45;
constexpr int kLabelLeft = 45;
constexpr int kLabelTop = 5;
constexpr int kLabelRightGap = 11;
constexpr int kButtonTop = 13;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 14;
constexpr int kSkipResult = 2;
constexpr double kMegabyte = 1024.0 * 1024.0;

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
    YesBtn = Placed<QPushButton>(BottomPanel, QStringLiteral("YesBtn"), QRect());
    YesBtn->setDefault(true);
    LaterBtn = Placed<QPushButton>(BottomPanel, QStringLiteral("LaterBtn"), QRect());
    SkipBtn = Placed<QPushButton>(BottomPanel, QStringLiteral("SkipBtn"), QRect());
    connect(YesBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(LaterBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(SkipBtn, &QPushButton::clicked, this, [this] { done(kSkipResult); });
    gQuestionForm = this;
}

TauAutoUpdaterUpgradeMessageForm::~TauAutoUpdaterUpgradeMessageForm() {
    gQuestionForm = nullptr;
}

void TauAutoUpdaterUpgradeMessageForm::ShowQuestion(const QString& message, qint64 downloadSize) {
    const QString framed =
        message.isEmpty() ? message : QLatin1Char('\n') + message + QLatin1Char('\n');
    QString question = FormatUpgradeMessage(kQuestion, {ApplicationTitle(), framed});
    if (downloadSize >= 0)
        question += QStringLiteral("\n\n") +
                    QString::asprintf(LoadExtraUpgradeMessage(kDownloadSize).toUtf8().constData(),
                                      double(downloadSize) / kMegabyte);
    setWindowTitle(LoadUpgradeMessage(kCaption));
    YesBtn->setText(LoadUpgradeMessage(kYesCaption));
    LaterBtn->setText(LoadUpgradeMessage(kLaterCaption));
    SkipBtn->setText(LoadExtraUpgradeMessage(kSkipVersionCaption));
    PlaceButtons();
    SetLabelText(Label1, question);
    FitToMessage(this, Label1, BottomPanel);
}

// Side by side in the middle, each as wide as its caption needs; the question widens when the
// three do not fit.
void TauAutoUpdaterUpgradeMessageForm::PlaceButtons() {
    int total = -kButtonGap;
    for (QPushButton* button : {YesBtn, LaterBtn, SkipBtn})
        total += std::max(kButtonWidth, button->sizeHint().width()) + kButtonGap;
    const int width = std::max(kClientWidth, total + 2 * kButtonGap);
    setFixedWidth(width);
    BottomPanel->setFixedWidth(width);
    Label1->setFixedWidth(width - kLabelLeft - kLabelRightGap);
    int left = (width - total) / 2;
    for (QPushButton* button : {YesBtn, LaterBtn, SkipBtn}) {
        const int buttonWidth = std::max(kButtonWidth, button->sizeHint().width());
        button->setGeometry(left, kButtonTop, buttonWidth, kButtonHeight);
        left += buttonWidth + kButtonGap;
    }
}

TUpgradeAnswer AskUpgrade(const QString& message, qint64 downloadSize) {
    if (gQuestionForm)
        return uaLater;
    TauAutoUpdaterUpgradeMessageForm form;
    form.ShowQuestion(message, downloadSize);
    // Escape and the close box reject the question: Later.
    switch (form.exec()) {
    case QDialog::Accepted:
        return uaUpgrade;
    case kSkipResult:
        return uaSkipVersion;
    default:
        return uaLater;
    }
}
