#include "shell/window_show_hide.h"

#include "platform/window_state_x11.h"

#include <QWidget>
#include <QWindow>

void ShowOrHideWindow(QWidget& window) {
    // A minimised window is still visible to Qt: hiding it would leave nothing to bring back.
    const QWindow* handle = window.windowHandle();
    const bool minimised = handle ? MinimisedOnScreen(*handle) : window.isMinimized();
    if (window.isVisible() && !minimised) {
        window.hide();
        return;
    }
    if (handle && minimised)
        RestoreFromMinimised(*handle);
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}
