#include "shell/window_show_hide.h"

#include <QWidget>

void ShowOrHideWindow(QWidget& window) {
    // A minimised window is still visible to Qt: hiding it would leave nothing to bring back.
    if (window.isVisible() && !window.isMinimized()) {
        window.hide();
        return;
    }
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}
