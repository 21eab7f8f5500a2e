#pragma once

#include "upgrade/au_thread_window.h"

#include <chrono>
#include <mutex>

// Waits, without running the event loop, until a run's call waits in the dispatcher's queue for
// the UI thread; false when none came within Timeout. What the UI thread does next happens
// before that call is delivered.
inline bool WaitForQueuedCall(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock lock(ThreadLock());
    return ThreadsChanged().wait_for(lock, timeout, [] {
        const TauThreadWindow* window = TauThreadWindow::InstanceLocked();
        return window != nullptr && window->HasPendingLocked();
    });
}
