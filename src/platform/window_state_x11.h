#pragma once

#include <QWindow>

// Whether the window manager holds Window minimised now (ICCCM WM_STATE read from the server).
// Qt hears of a minimise only when it has read the window manager's news, which a key handled
// at once can overtake; the server's answer cannot be behind.
bool MinimisedOnScreen(const QWindow& window);

// Asks the window manager to bring Window back from minimised (ICCCM: the client maps it again),
// whatever Qt believes its state to be: Qt ignores a restore it thinks is already done.
void RestoreFromMinimised(const QWindow& window);
