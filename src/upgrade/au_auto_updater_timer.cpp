// The automatic check: once, AutoCheckDelay after start-up, as soon as the machine is on line;
// again only while the host stays unreachable.
#include "common/failure.h"
#include "common/handler_guard.h"
#include "upgrade/au_auto_updater.h"

#include <QTimerEvent>

void TauAutoUpdater::SetAutoCheck(bool autoCheck) {
    if (autoCheck == FAutoCheck)
        return;
    FAutoCheck = autoCheck;
    UpdateAutoCheckTimer();
}

void TauAutoUpdater::UpdateAutoCheckTimer() {
    if (FTimerId != 0) {
        killTimer(FTimerId);
        FTimerId = 0;
    }
    if (!FAutoCheck || FAutoCheckDone || AutoCheckDelay <= 0)
        return;
    FTimerId = startTimer(AutoCheckDelay);
    if (FTimerId == 0)
        throw EFailure(QStringLiteral("Not enough timers available"));
}

void TauAutoUpdater::timerEvent(QTimerEvent* event) {
    if (event->timerId() != FTimerId || FTimerId == 0) {
        TauCustomHTTP::timerEvent(event);
        return;
    }
    RunHandler([this] { AutoCheckTimerFired(); });
}

void TauAutoUpdater::AutoCheckTimerFired() {
    // Off line, the timer goes on firing at its interval.
    if (!FAutoCheck || !(OnlineTest ? OnlineTest() : IsOnline()))
        return;
    FAutoCheckDone = true;
    UpdateAutoCheckTimer();
    CheckUpdate(false);
    FAutoChecking = true;
}
