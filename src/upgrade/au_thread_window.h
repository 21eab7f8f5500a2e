#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

class TauEventThread;

// Guards what thread objects share: the dispatcher's use count and queue, the marks of
// abandoned runs and the replacement of a component's thread object.
std::mutex& ThreadLock();
// Notified, under the lock, whenever a call is queued, a run ends or a suspension is lifted.
std::condition_variable& ThreadsChanged();

// The dispatcher that hands runs' calls to the UI thread: made with the first thread object and
// destroyed with the last. It rides on the application's TUiDispatcher to wake the UI thread,
// and keeps the calls in a queue of its own, so that a wait for a thread on the UI thread can
// deliver them without running anything else, and a call of an abandoned run can be skipped.
class TauThreadWindow : public QObject {
public:
    // With the lock held.
    static void AddUserLocked();
    static void RemoveUserLocked();
    static TauThreadWindow* InstanceLocked();
    static bool Exists();

    // With the lock held: queues the thread object's pending call; false when the UI thread
    // cannot be reached (the application is shutting down).
    bool QueueLocked(const std::shared_ptr<TauEventThread>& thread);
    bool HasPendingLocked() const { return !FQueue.empty(); }
    // On the UI thread: runs the queued calls.
    void DeliverPending();
    // With the lock held: releases every waiting run without its call.
    void SkipAllLocked();

private:
    TauThreadWindow() = default;
    bool PostWakeLocked();
    void DeliverQueuedLocked(std::unique_lock<std::mutex>& lock);
    // Waits a moment for another call; true when one came.
    bool AwaitCallLocked(std::unique_lock<std::mutex>& lock);

    std::deque<std::shared_ptr<TauEventThread>> FQueue;
    // The queue's length, for looking without the lock.
    std::atomic<size_t> FQueued = 0;
    bool FWakePosted = false;
    int FDeliveries = 0;
    bool FLookFirst = true;
    bool FRetired = false;
};
