#pragma once

class QWidget;

// What the show/hide hot key does to the main window: one that is on screen goes; one that is
// hidden or minimised comes back, restored, in front and with the keyboard.
void ShowOrHideWindow(QWidget& window);
