#include "upgrade/au_utils.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <climits>
#include <map>
#include <mutex>

namespace {

std::atomic<bool> TerminateRequested = false;

// Notices a request to end the application however it is made (the last window closed, a
// quit from anywhere), as the wait must stop for it.
class TQuitWatcher : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit)
            TerminateRequested = true;
        return false;
    }
};

// On the UI thread; the watcher goes with the application.
void WatchForQuit() {
    static QPointer<TQuitWatcher> watcher;
    if (watcher)
        return;
    QCoreApplication* application = QCoreApplication::instance();
    watcher = new TQuitWatcher(application);
    application->installEventFilter(watcher);
}

// An event of WaitWithMessages; SignalEvent finds it by its handle.
struct TWaitEvent {
    bool Signalled = false;
    QObject* Waiter = nullptr;
};

std::mutex& EventsLock() {
    static std::mutex lock;
    return lock;
}

std::map<TauEventHandle, TWaitEvent>& Events() {
    static std::map<TauEventHandle, TWaitEvent> events;
    return events;
}

TauEventHandle NextHandle() {
    static TauEventHandle last = 0;
    return ++last;
}

QMainWindow* MainWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* main = qobject_cast<QMainWindow*>(window))
            return main;
    return nullptr;
}

bool IsSignalled(TauEventHandle event) {
    const std::lock_guard lock(EventsLock());
    const auto found = Events().find(event);
    return found != Events().end() && found->second.Signalled;
}

// Made for one wait and closed when it ends, however it ends.
class TWaitRegistration {
public:
    TWaitRegistration(TauEventHandle& event, QObject* waiter) : FEvent(event) {
        const std::lock_guard lock(EventsLock());
        FEvent = NextHandle();
        Events()[FEvent].Waiter = waiter;
    }
    ~TWaitRegistration() {
        const std::lock_guard lock(EventsLock());
        Events().erase(FEvent);
        FEvent = kClosedEvent;
    }
    TWaitRegistration(const TWaitRegistration&) = delete;
    TWaitRegistration& operator=(const TWaitRegistration&) = delete;

private:
    TauEventHandle& FEvent;
};

} // namespace

void CloseApplication() {
    if (QMainWindow* window = MainWindow())
        window->close();
    TerminateRequested = true;
    QCoreApplication::quit();
}

bool ApplicationTerminating() {
    return TerminateRequested || QCoreApplication::closingDown();
}

void WaitWithMessages(TauEventHandle& event, quint32 timeout, bool stopOnTerminate) {
    WatchForQuit();
    QObject waiter;
    const TWaitRegistration registration(event, &waiter);
    const TauEventHandle handle = event;
    while (!(stopOnTerminate && ApplicationTerminating()) && !IsSignalled(handle)) {
        bool timedOut = false;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&timedOut] { timedOut = true; });
        if (timeout != 0)
            timer.start(static_cast<int>(std::min<quint32>(timeout, INT_MAX)));
        // Returns once something has been handled: a signal's wake-up, the timer, any event.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (timedOut)
            break;
    }
}

void SignalEvent(TauEventHandle event) {
    if (event == kNoEvent || event == kClosedEvent)
        return;
    const std::lock_guard lock(EventsLock());
    const auto found = Events().find(event);
    if (found == Events().end())
        return;
    found->second.Signalled = true;
    // Wakes the waiting loop; the waiter is gone only after it has left the table.
    if (found->second.Waiter)
        QMetaObject::invokeMethod(
            found->second.Waiter, [] {}, Qt::QueuedConnection);
}
