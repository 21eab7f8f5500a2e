#include "shell/clickable_image.h"

#include "common/handler_guard.h"

#include <QMouseEvent>

TClickableImage::TClickableImage(const QString& objectName, QWidget* parent) : QLabel(parent) {
    setObjectName(objectName);
    setCursor(Qt::PointingHandCursor);
}

void TClickableImage::Click() {
    if (FOnClick)
        RunHandler(FOnClick);
}

void TClickableImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Click();
    QLabel::mouseReleaseEvent(event);
}
