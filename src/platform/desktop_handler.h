#pragma once

#include <QString>

// The command line that the desktop runs to open files with this extension (".html"): the Exec
// line of the default application's desktop file as xdg-mime names it, field codes such as %u
// included. Empty when the desktop names no handler.
QString DefaultHandlerCommand(const QString& extension);
