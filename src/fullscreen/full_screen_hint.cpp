#include "fullscreen/full_screen_hint.h"

#include <QEvent>
#include <QTimer>

TFullScreenHint::TFullScreenHint(QWidget* window)
    : QLabel(QStringLiteral("按 Esc 退出全屏"), window) {
    setObjectName(QStringLiteral("lblEscHint"));
    setStyleSheet(QStringLiteral("QLabel { color: #ffffff; background: rgba(0, 0, 0, 160);"
                                 " border-radius: 8px; padding: 10px 22px; font-size: 16pt; }"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    FShowing = new QTimer(this);
    FShowing->setSingleShot(true);
    FShowing->setInterval(3000);
    connect(FShowing, &QTimer::timeout, this, &QWidget::hide);
    window->installEventFilter(this);
}

void TFullScreenHint::ShowForAWhile() {
    adjustSize();
    Place();
    raise();
    show();
    FShowing->start();
}

void TFullScreenHint::Withdraw() {
    FShowing->stop();
    hide();
}

bool TFullScreenHint::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Resize)
        Place();
    return false;
}

void TFullScreenHint::Place() {
    const QWidget* window = parentWidget();
    move((window->width() - width()) / 2, window->height() / 10);
}
