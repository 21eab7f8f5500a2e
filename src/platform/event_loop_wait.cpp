#include "platform/event_loop_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <exception>
#include <thread>

namespace {

bool OnEventLoopThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

} // namespace

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
    std::thread helper([&] {
        try {
            work(postToCaller);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    helper.join();
    if (failure)
        std::rethrow_exception(failure);
}
