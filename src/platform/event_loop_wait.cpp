#include "platform/event_loop_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <atomic>
#include <exception>
#include <thread>

namespace {

// The abandonment flag of the wait whose work runs on this thread, if any.
thread_local const std::atomic<bool>* tCallerStopped = nullptr;

bool OnEventLoopThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

} // namespace

bool CallerStoppedWaiting() {
    return tCallerStopped != nullptr && tCallerStopped->load();
}

void RunKeepingEventsFlowing(const std::function<void(const TPostToCaller&)>& work) {
    if (!OnEventLoopThread()) {
        work([](const std::function<void()>& effect) { effect(); });
        return;
    }
    QEventLoop loop;
    // Effects and the final wake-up are queued to the loop object in order, so every effect
    // has run when the wait ends.
    const TPostToCaller postToCaller = [&loop](std::function<void()> effect) {
        QMetaObject::invokeMethod(&loop, std::move(effect), Qt::QueuedConnection);
    };
    std::exception_ptr failure;
    std::atomic<bool> finished = false;
    std::atomic<bool> abandoned = false;
    std::thread helper([&] {
        tCallerStopped = &abandoned;
        try {
            work(postToCaller);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // Only the application's quitting ends the loop before the work has: every event loop of
    // the thread is told to exit then, and this wait must not hold the program.
    if (!finished)
        abandoned = true;
    helper.join();
    if (abandoned)
        throw EWaitAbandoned();
    if (failure)
        std::rethrow_exception(failure);
}
