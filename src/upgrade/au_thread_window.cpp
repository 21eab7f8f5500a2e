#include "upgrade/au_thread_window.h"

#include "platform/ui_dispatcher.h"
#include "upgrade/au_thread.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <chrono>
#include <thread>

namespace {

// A run hands over its next call within microseconds of the last one (a transfer reports every
// block). The UI thread waits a moment for it instead of going back through the event loop:
// first looking, giving its processor away between looks, then asleep. A wake-up from sleep
// costs more than a whole call. The event loop still gets its turn after each time slice.
constexpr auto kLook = std::chrono::microseconds(20);
constexpr auto kLinger = std::chrono::milliseconds(1);
constexpr auto kTimeSlice = std::chrono::milliseconds(8);

TauThreadWindow* Window = nullptr;
int WindowUsers = 0;

// Travels with a wake-up to the UI thread; when the wake-up is dropped unrun (the dispatcher
// shut down meanwhile), the calls it was meant to deliver are skipped so that no run waits on.
struct TWakeTicket {
    QPointer<TauThreadWindow> Target;
    bool Settled = false;
    ~TWakeTicket();
};

} // namespace

std::mutex& ThreadLock() {
    static std::mutex lock;
    return lock;
}

std::condition_variable& ThreadsChanged() {
    static std::condition_variable changed;
    return changed;
}

void TauThreadWindow::AddUserLocked() {
    if (WindowUsers++ == 0) {
        Window = new TauThreadWindow;
        if (QCoreApplication::instance() != nullptr)
            Window->moveToThread(QCoreApplication::instance()->thread());
    }
}

void TauThreadWindow::RemoveUserLocked() {
    if (--WindowUsers > 0)
        return;
    Window->SkipAllLocked();
    // A call being delivered may free the last thread object: the delivery then ends the window.
    // A wake-up still on its way finds it gone and is dropped.
    if (Window->FDeliveries > 0)
        Window->FRetired = true;
    else if (Window->thread() == QThread::currentThread())
        delete Window;
    else
        Window->deleteLater();
    Window = nullptr;
}

TauThreadWindow* TauThreadWindow::InstanceLocked() {
    return Window;
}

bool TauThreadWindow::Exists() {
    const std::lock_guard lock(ThreadLock());
    return Window != nullptr;
}

bool TauThreadWindow::QueueLocked(const std::shared_ptr<TauEventThread>& thread) {
    FQueue.push_back(thread);
    FQueued = FQueue.size();
    ThreadsChanged().notify_all();
    if (FWakePosted || PostWakeLocked())
        return true;
    FQueue.pop_back();
    FQueued = FQueue.size();
    return false;
}

bool TauThreadWindow::PostWakeLocked() {
    auto ticket = std::make_shared<TWakeTicket>();
    ticket->Target = this;
    FWakePosted = TUiDispatcher::Post(this, [ticket] {
        ticket->Settled = true;
        if (ticket->Target)
            ticket->Target->DeliverPending();
    });
    if (!FWakePosted)
        ticket->Settled = true;
    return FWakePosted;
}

void TauThreadWindow::DeliverPending() {
    std::unique_lock lock(ThreadLock());
    ++FDeliveries;
    // Calls queued while this delivery runs need no wake-up of their own.
    FWakePosted = true;
    const auto sliceEnd = std::chrono::steady_clock::now() + kTimeSlice;
    for (;;) {
        DeliverQueuedLocked(lock);
        if (FRetired || std::chrono::steady_clock::now() >= sliceEnd)
            break;
        if (!AwaitCallLocked(lock))
            break;
    }
    FWakePosted = false;
    // The time slice ended with calls waiting: they get the next turn after the event loop's.
    if (!FQueue.empty() && !FRetired && !PostWakeLocked())
        SkipAllLocked();
    if (--FDeliveries == 0 && FRetired) {
        lock.unlock();
        delete this;
    }
}

void TauThreadWindow::DeliverQueuedLocked(std::unique_lock<std::mutex>& lock) {
    while (!FQueue.empty()) {
        const std::shared_ptr<TauEventThread> thread = std::move(FQueue.front());
        FQueue.pop_front();
        FQueued = FQueue.size();
        if (thread->FSyncState != TauEventThread::TSyncState::Pending)
            continue;
        thread->FSyncState = TauEventThread::TSyncState::Running;
        lock.unlock();
        try {
            (*thread->FSyncMethod)();
        } catch (...) {
            // A failing call is dropped; the run goes on.
        }
        thread->FSyncState = TauEventThread::TSyncState::Done;
        thread->FSyncState.notify_all();
        lock.lock();
    }
}

bool TauThreadWindow::AwaitCallLocked(std::unique_lock<std::mutex>& lock) {
    const auto start = std::chrono::steady_clock::now();
    if (FLookFirst) {
        lock.unlock();
        while (FQueued == 0 && std::chrono::steady_clock::now() - start < kLook)
            std::this_thread::yield();
        lock.lock();
        if (!FQueue.empty())
            return true;
    }
    const bool came = ThreadsChanged().wait_for(lock, kLinger, [this] { return !FQueue.empty(); });
    // Looking pays only while calls follow each other that closely (small blocks).
    FLookFirst = came && std::chrono::steady_clock::now() - start < kLook;
    return came;
}

void TauThreadWindow::SkipAllLocked() {
    for (const std::shared_ptr<TauEventThread>& thread : FQueue)
        thread->SkipPendingCallLocked();
    FQueue.clear();
    FQueued = 0;
    FWakePosted = false;
}

TWakeTicket::~TWakeTicket() {
    if (Settled)
        return;
    const std::lock_guard lock(ThreadLock());
    if (Target)
        Target->SkipAllLocked();
}
