#pragma once

#include <QGuiApplication>
#include <xcb/xcb.h>

// Qt's own connection to the X server; none on other window systems.
inline xcb_connection_t* QtXcbConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}
