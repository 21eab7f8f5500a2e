#pragma once

class QWidget;

// Moves a top-level window, and makes it smaller if need be, so that the whole of it, frame
// included, lies on the available area of its screen: the one under its centre, or the primary
// one when it is on none. Done at once with the frame most window managers draw, and again
// with its real frame when it is first on screen. A maximised or full-screen window is left to
// the window manager.
void KeepOnScreen(QWidget& window);
