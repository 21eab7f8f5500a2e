#include "platform/player_cover.h"

#include <QPainter>
#include <QQuickWindow>
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
    disconnect(FFrames);
    setGeometry(parentWidget()->rect());
    raise();
    show();
    FGiveUp->start();
}

void TPlayerCover::Uncover() {
    disconnect(FFrames);
    FGiveUp->stop();
    hide();
}

void TPlayerCover::UncoverAfterTwoFrames(QQuickWindow* frames) {
    disconnect(FFrames);
    FFramesShown = 0;
    FFrames = connect(
        frames, &QQuickWindow::afterRendering, this,
        [this] {
            if (++FFramesShown == 2)
                Uncover();
        },
        Qt::QueuedConnection);
}

// Black whatever the skin: the player page's own background, on which the movie then appears.
void TPlayerCover::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Qt::black);
}
