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

    // True once the application has begun to shut down: workers stop their work.
    static bool ShuttingDown();
};
