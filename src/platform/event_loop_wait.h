#pragma once

#include "common/failure.h"

#include <functional>

// Runs a function on the thread that called RunKeepingEventsFlowing.
using TPostToCaller = std::function<void(std::function<void()>)>;

// Raised by RunKeepingEventsFlowing when the caller stopped waiting because the application is
// quitting; nobody is left to be told about the work's outcome.
class EWaitAbandoned : public EFailure {
public:
    EWaitAbandoned() : EFailure(QStringLiteral("The wait was abandoned: the program is closing")) {}
};

// Runs Work to its end and rethrows what it throws. Called on the thread of the Qt event loop,
// the work moves to a helper thread while the loop keeps handling events: windows stay live and
// an event handled meanwhile may start a wait of its own (it then ends first). When the
// application quits meanwhile, the wait is abandoned: the work is asked to stop (see
// CallerStoppedWaiting), waited for, and EWaitAbandoned is raised. Called on any other thread,
// the work runs in place. Work hands effects meant for the caller's thread to the poster it
// receives.
void RunKeepingEventsFlowing(const std::function<void(const TPostToCaller&)>& work);

// True, inside work run by RunKeepingEventsFlowing, once its caller has stopped waiting for it;
// the work should then end as soon as it can.
bool CallerStoppedWaiting();
