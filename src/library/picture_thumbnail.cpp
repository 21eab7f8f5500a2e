#include "library/picture_thumbnail.h"

#include <QMouseEvent>
#include <QPainter>

TThumbnail::TThumbnail(const QString& hint, const QImage& picture, TOnClick onClick,
                       QWidget* parent)
    : QWidget(parent), FHint(hint), FPicture(picture), FOnClick(std::move(onClick)) {
    setCursor(Qt::PointingHandCursor);
}

void TThumbnail::paintEvent(QPaintEvent*) {
    if (FPicture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), FPicture);
}

void TThumbnail::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        FOnClick)
        FOnClick(this);
}
