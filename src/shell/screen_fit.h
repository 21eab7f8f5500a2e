#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

class QWidget;

// The inside of a window placed so that the whole window, Frame included, lies on the available
// area of one screen: the area it mostly lies on, or the nearest one when it lies on none. A
// window larger than that area is made smaller; one that fits keeps its size.
QRect FitOnScreen(const QRect& geometry, const QMargins& frame, const QList<QRect>& areas);

// Moves a top-level window, and shrinks it if need be, onto the available area of a screen: at
// once with the frame most window managers draw, and again with the frame it gets once it is
// first on screen. A maximised or full-screen window is left to the window manager.
void KeepOnScreen(QWidget& window);
