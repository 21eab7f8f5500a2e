#include "fullscreen/application_key_hook.h"

#include <QCoreApplication>
#include <QKeyEvent>

TApplicationEvents::TApplicationEvents(TOnMessage onMessage, QObject* parent)
    : QObject(parent), FOnMessage(std::move(onMessage)) {
    QCoreApplication::instance()->installEventFilter(this);
}

TApplicationEvents::~TApplicationEvents() {
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool TApplicationEvents::eventFilter(QObject* receiver, QEvent* event) {
    // A key comes to the top-level window first and then passes from widget to parent while
    // none takes it; only its arrival at the window counts, so each key is seen once.
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (key && receiver->isWindowType()) {
        const auto* keyEvent = static_cast<const QKeyEvent*>(event);
        if (!(keyEvent->modifiers() & Qt::AltModifier))
            FOnMessage(*keyEvent);
    }
    return false;
}
