#include "shell/screen_fit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {

// The window manager's frame once the window has been on screen; before, a title bar as the
// style draws one and the border of a window frame.
QMargins FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inside = window.geometry();
    if (frame != inside)
        return {inside.left() - frame.left(), inside.top() - frame.top(),
                frame.right() - inside.right(), frame.bottom() - inside.bottom()};
    const QStyle* style = window.style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    return {border, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window), border,
            border};
}

// Start within [Low, High], as far as Length allows.
int Within(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length + 1));
}

void Fit(QWidget& window) {
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QMargins frame = FrameOf(window);
    const QRect inside = window.geometry();
    const QScreen* screen = QGuiApplication::screenAt(inside.marginsAdded(frame).center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect outer = QRect(inside.topLeft(), inside.size().boundedTo(area.size().shrunkBy(frame)))
                      .marginsAdded(frame);
    outer.moveTo(Within(outer.left(), outer.width(), area.left(), area.right()),
                 Within(outer.top(), outer.height(), area.top(), area.bottom()));
    if (outer.marginsRemoved(frame) != inside)
        window.setGeometry(outer.marginsRemoved(frame));
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

void KeepOnScreen(QWidget& window) {
    Fit(window);
    new TFitWhenFramed(window);
}
