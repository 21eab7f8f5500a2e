#pragma once

#include "upgrade/messages/upgrade_messages.h"

#include <QImage>

// The options of the upgrade component's progress window, stored with the component.
class TauAutoUpdaterWizard {
public:
    // Show the progress window while the files download; without it the client restarts right
    // after the last file.
    bool Enabled = true;
    // Hide the source address in the progress window and close up the layout.
    bool HideFileLocation = false;
    // The side picture, 118 × 218 pixels; the window's own picture while empty.
    QImage Pic118x218;
    // Keep the progress window above all other windows.
    bool StayOnTop = true;

    TauAutoUpdaterLanguage Language() const { return FLanguage; }
    // Assigning a different language selects its block of messages for the whole process;
    // wlAuto takes the system language again.
    void SetLanguage(TauAutoUpdaterLanguage language);

private:
    TauAutoUpdaterLanguage FLanguage = wlAuto;
};
