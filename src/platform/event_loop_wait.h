#pragma once

#include <functional>

// Runs a function on the thread that called RunKeepingEventsFlowing.
using TPostToCaller = std::function<void(std::function<void()>)>;

// Runs Work to its end and rethrows what it throws. Called on the thread of the Qt event loop,
// the work moves to a helper thread while the loop keeps handling events: windows stay live and
// an event handled meanwhile may start a wait of its own (it then ends first). Called on any
// other thread, the work runs in place. Work hands effects meant for the caller's thread to the
// poster it receives.
void RunKeepingEventsFlowing(const std::function<void(const TPostToCaller&)>& work);
