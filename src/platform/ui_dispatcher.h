#pragma once

#include <QObject>
#include <functional>

// The one way worker threads reach the user interface. An effect is handed to the UI thread
// and the worker waits until it has run. Effects name the object they act on: when that object
// is gone, or the dispatcher has shut down, the effect is dropped and the wait ends at once.
class TUiDispatcher : public QObject {
    Q_OBJECT
public:
    // Made on the UI thread before any worker starts; there is one per application.
    TUiDispatcher();
    ~TUiDispatcher() override;

    // Runs Effect on the UI thread (in place when called there) and returns true once it has
    // run, false when it was dropped.
    static bool RunAndWait(QObject* context, std::function<void()> effect);
    // Queues Effect for the UI thread without waiting for it; false when there is no dispatcher
    // to queue it to.
    static bool Post(QObject* context, std::function<void()> effect);

    // From now on every effect is dropped: those still queued are discarded and their waiting
    // workers wake up; a worker asking later is refused at once, without touching its context.
    // Called on the UI thread before the objects the workers act on are destroyed.
    void ShutDown();

    // True once the application has begun to shut down: workers stop their work.
    static bool ShuttingDown();
    // Effects queued that have neither run nor been dropped yet: a test that must act while one
    // waits for its turn looks here.
    static int QueuedEffects();
};
