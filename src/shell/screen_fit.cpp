#include "shell/screen_fit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {

qint64 OverlapOf(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return qint64(common.width()) * common.height();
}

const QRect& HomeArea(const QRect& outer, const QList<QRect>& areas) {
    return *std::min_element(areas.begin(), areas.end(), [&](const QRect& a, const QRect& b) {
        const qint64 overlapA = OverlapOf(outer, a);
        const qint64 overlapB = OverlapOf(outer, b);
        if (overlapA != overlapB)
            return overlapA > overlapB;
        return (a.center() - outer.center()).manhattanLength() <
               (b.center() - outer.center()).manhattanLength();
    });
}

// Start within [Low, High], as far as Length allows.
int Within(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length + 1));
}

// The window manager's frame once the window has been on screen; before, a title bar as the
// style draws one and the border of a window frame.
QMargins FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inside = window.geometry();
    if (frame != inside)
        return {inside.left() - frame.left(), inside.top() - frame.top(),
                frame.right() - inside.right(), frame.bottom() - inside.bottom()};
    const QStyle* style = window.style();
    const int title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    return {border, title, border, border};
}

void Fit(QWidget& window) {
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    const QRect fitted = FitOnScreen(window.geometry(), FrameOf(window), areas);
    if (fitted != window.geometry())
        window.setGeometry(fitted);
}

// Fits the window again the first time it is on screen: the window manager has framed it by
// then, and the frame it drew is known.
class TFitWhenFramed : public QObject {
public:
    explicit TFitWhenFramed(QWidget& window) : QObject(&window), FWindow(window) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &FWindow && event->type() == QEvent::Show && FWindow.windowHandle()) {
            FWindow.windowHandle()->installEventFilter(this);
        } else if (!FDone && event->type() == QEvent::Expose &&
                   FWindow.windowHandle()->isExposed()) {
            FDone = true;
            Fit(FWindow);
            deleteLater();
        }
        return false;
    }

private:
    QWidget& FWindow;
    bool FDone = false;
};

} // namespace

QRect FitOnScreen(const QRect& geometry, const QMargins& frame, const QList<QRect>& areas) {
    if (areas.isEmpty())
        return geometry;
    const QRect& area = HomeArea(geometry.marginsAdded(frame), areas);
    QRect outer = QRect(geometry.topLeft(), geometry.size().boundedTo(area.size().shrunkBy(frame)))
                      .marginsAdded(frame);
    outer.moveTo(Within(outer.left(), outer.width(), area.left(), area.right()),
                 Within(outer.top(), outer.height(), area.top(), area.bottom()));
    return outer.marginsRemoved(frame);
}

void KeepOnScreen(QWidget& window) {
    Fit(window);
    new TFitWhenFramed(window);
}
