#include "platform/player_cover.h"

#include <QPainter>
#include <QTimer>

TPlayerCover::TPlayerCover(QWidget* view) : QWidget(view) {
    setObjectName(QStringLiteral("PlayerCover"));
    setFocusPolicy(Qt::NoFocus);
    hide();
    FGiveUp = new QTimer(this);
    FGiveUp->setSingleShot(true);
    FGiveUp->setInterval(3000);
    connect(FGiveUp, &QTimer::timeout, this, &TPlayerCover::Uncover);
}

void TPlayerCover::Cover() {
    setGeometry(parentWidget()->rect());
    raise();
    show();
    FGiveUp->start();
}

void TPlayerCover::Uncover() {
    FGiveUp->stop();
    hide();
}

// Black whatever the skin: the player page's own background, on which the movie then appears.
void TPlayerCover::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Qt::black);
}
