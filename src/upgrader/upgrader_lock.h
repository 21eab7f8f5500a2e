#pragma once

#include <QString>

// Held while an upgrader works on a program folder. The client tells by it whether an upgrader
// is still at work or ended before its work was done; a second upgrader does not start.
class TUpgraderLock {
public:
    explicit TUpgraderLock(const QString& programFolder);
    ~TUpgraderLock();
    TUpgraderLock(const TUpgraderLock&) = delete;
    TUpgraderLock& operator=(const TUpgraderLock&) = delete;

    bool Held() const { return FHandle >= 0; }
    // Another upgrader holds it (rather than the folder having no room for a lock).
    bool Busy() const { return FBusy; }

private:
    int FHandle = -1;
    bool FBusy = false;
};
