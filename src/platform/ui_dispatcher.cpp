#include "platform/ui_dispatcher.h"

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
std::atomic<bool> ShutDown = false;
std::atomic<std::thread::id> UiThread;

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
    QMetaObject::invokeMethod(Instance, std::move(call), Qt::QueuedConnection);
    return true;
}

} // namespace

TUiDispatcher::TUiDispatcher() {
    const std::unique_lock lock(InstanceLock());
    Instance = this;
    ShutDown = false;
    UiThread = std::this_thread::get_id();
}

TUiDispatcher::~TUiDispatcher() {
    {
        const std::unique_lock lock(InstanceLock());
        Instance = nullptr;
        ShutDown = true;
    }
    // Effects still queued are destroyed unrun with this object; their waiters wake up.
}

bool TUiDispatcher::RunAndWait(QObject* context, std::function<void()> effect) {
    if (std::this_thread::get_id() == UiThread.load()) {
        effect();
        return true;
    }
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
    return Enqueue(Guarded(context, std::move(effect)));
}

bool TUiDispatcher::ShuttingDown() {
    return ShutDown;
}
