#include "shell/game_status_panel.h"

#include "shell/download_list.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kCardWidth = 420;
const QString kRetry = QStringLiteral("重试");

QLabel* CardLabel(const QString& name, int pointSizeDelta) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + pointSizeDelta);
    label->setFont(font);
    return label;
}

} // namespace

TGameStatusPanel::TGameStatusPanel(QWidget* download, QWidget* parent)
    : QWidget(parent), FDownload(download) {
    setObjectName(QStringLiteral("pnlGameStatus"));
    // Opaque: nothing of the page behind it shows through.
    setAttribute(Qt::WA_StyledBackground);
    setAutoFillBackground(true);
    lblGameName = CardLabel(QStringLiteral("lblGameName"), 4);
    QFont bold = lblGameName->font();
    bold.setBold(true);
    lblGameName->setFont(bold);
    lblGameStatus = CardLabel(QStringLiteral("lblGameStatus"), 1);
    lblGameDetail = CardLabel(QStringLiteral("lblGameDetail"), -1);
    lblGameDetail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblGameDetail->setEnabled(false);
    btnRetry = new QPushButton(kRetry);
    btnRetry->setObjectName(QStringLiteral("btnRetry"));
    btnBack = new QPushButton(QStringLiteral("返回"));
    btnBack->setObjectName(QStringLiteral("btnBack"));
    connect(btnRetry, &QPushButton::clicked, this, [this] {
        if (FRetry)
            FRetry();
    });
    connect(btnBack, &QPushButton::clicked, this, &TGameStatusPanel::BackRequested);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnRetry);
    buttons->addWidget(btnBack);
    buttons->addStretch(1);
    auto* card = new QWidget;
    card->setFixedWidth(kCardWidth);
    auto* column = new QVBoxLayout(card);
    column->addWidget(lblGameName);
    column->addWidget(lblGameStatus);
    column->addWidget(FDownload);
    lstDownloads = new TDownloadList;
    column->addWidget(lstDownloads);
    column->addWidget(lblGameDetail);
    column->addLayout(buttons);
    auto* centre = new QVBoxLayout(this);
    centre->addStretch(1);
    centre->addWidget(card, 0, Qt::AlignHCenter);
    centre->addStretch(2);
}

void TGameStatusPanel::ShowLoading(const QString& gameName, const QString& what) {
    FRetry = nullptr;
    ShowState(gameName, what, QString(), false);
}

void TGameStatusPanel::ShowFailure(const QString& gameName, const QString& what,
                                   const QString& detail, std::function<void()> retry,
                                   const QString& retryText) {
    FRetry = std::move(retry);
    btnRetry->setText(retryText.isEmpty() ? kRetry : retryText);
    ShowState(gameName, what, detail, true);
}

void TGameStatusPanel::ShowState(const QString& gameName, const QString& what,
                                 const QString& detail, bool failed) {
    lblGameName->setText(gameName);
    lblGameName->setVisible(!gameName.isEmpty());
    lblGameStatus->setText(what);
    lblGameDetail->setText(detail);
    lblGameDetail->setVisible(!detail.isEmpty());
    btnRetry->setVisible(failed);
    btnBack->setVisible(failed);
    if (failed)
        FDownload->setVisible(false);
    show();
    raise();
}
