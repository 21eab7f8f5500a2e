#pragma once

#include <QString>

// The application title: message box captions and the tray icon's tool tip.
inline QString ApplicationTitle() {
    return QStringLiteral("Pebblo客户端");
}
