#include "platform/ui_dispatcher.h"

#include <QCoreApplication>
#include <QPointer>
#include <atomic>
#include <future>
#include <memory>
#include <shared_mutex>
#include <thread>

namespace {

// Guards the instance pointer: a worker posts under the shared lock, so the dispatcher cannot
// be destroyed between the check and the post.
std::shared_mutex& InstanceLock() {
    static std::shared_mutex lock;
    return lock;
}
TUiDispatcher* Instance = nullptr;
std::atomic<bool> IsShutDown = false;
std::atomic<std::thread::id> UiThread;
std::atomic<int> Queued = 0;

// Travels with a queued effect: counted from its queueing until it has run or been dropped.
struct TQueuedMark {
    TQueuedMark() { ++Queued; }
    ~TQueuedMark() { --Queued; }
    TQueuedMark(const TQueuedMark&) = delete;
    TQueuedMark& operator=(const TQueuedMark&) = delete;
};

std::function<void()> Guarded(QObject* context, std::function<void()> effect) {
    return [target = QPointer<QObject>(context), effect = std::move(effect)] {
        if (target)
            effect();
    };
}

// False when there is no dispatcher any more.
bool Enqueue(std::function<void()> call) {
    const std::shared_lock lock(InstanceLock());
    if (Instance == nullptr)
        return false;
    QMetaObject::invokeMethod(
        Instance, [mark = std::make_shared<TQueuedMark>(), call = std::move(call)] { call(); },
        Qt::QueuedConnection);
    return true;
}

} // namespace

TUiDispatcher::TUiDispatcher() {
    const std::unique_lock lock(InstanceLock());
    Instance = this;
    IsShutDown = false;
    UiThread = std::this_thread::get_id();
}

TUiDispatcher::~TUiDispatcher() {
    ShutDown();
}

void TUiDispatcher::ShutDown() {
    {
        const std::unique_lock lock(InstanceLock());
        if (Instance == this)
            Instance = nullptr;
        IsShutDown = true;
    }
    // Effects still queued are destroyed unrun; their promises break and their waiters wake up.
    QCoreApplication::removePostedEvents(this);
}

bool TUiDispatcher::RunAndWait(QObject* context, std::function<void()> effect) {
    if (std::this_thread::get_id() == UiThread.load()) {
        effect();
        return true;
    }
    // After shutdown the context may be gone: not even a guarded pointer is made from it.
    if (IsShutDown)
        return false;
    // The promise lives in the queued call: run, it is fulfilled; dropped or destroyed unrun,
    // it breaks and the wait ends.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    const bool queued = Enqueue(
        [done = std::move(done), target = QPointer<QObject>(context), effect = std::move(effect)] {
            if (!target)
                return;
            effect();
            done->set_value();
        });
    if (!queued)
        return false;
    try {
        finished.get();
        return true;
    } catch (const std::future_error&) {
        return false;
    }
}

bool TUiDispatcher::Post(QObject* context, std::function<void()> effect) {
    if (IsShutDown)
        return false;
    return Enqueue(Guarded(context, std::move(effect)));
}

bool TUiDispatcher::ShuttingDown() {
    return IsShutDown;
}

int TUiDispatcher::QueuedEffects() {
    return Queued;
}
