#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>

class TProgressRelay;

// The latest count a worker reported, shared between the workers and the relay.
struct TProgressSlot {
    static constexpr qint64 kNothing = -1;
    std::atomic<qint64> Pending = kNothing;
    std::atomic<bool> Scheduled = false;
};

// What a worker holds to report into the relay; stays valid after the relay is gone.
class TProgressFeed {
public:
    TProgressFeed(std::shared_ptr<TProgressSlot> slot, TProgressRelay* relay)
        : FSlot(std::move(slot)), FRelay(relay) {}
    // Any thread; never blocks.
    void Post(qint64 count) const;

private:
    std::shared_ptr<TProgressSlot> FSlot;
    TProgressRelay* FRelay;
};

// Carries byte counts from download workers to the progress display without making a worker
// wait for each block: the latest count wins and reaches the display at most ten times a
// second. Several workers may report into the one display. Lives on the UI thread.
class TProgressRelay : public QObject {
    Q_OBJECT
public:
    explicit TProgressRelay(std::function<void(qint64)> apply, QObject* parent = nullptr);

    TProgressFeed Feed() { return {FSlot, this}; }
    // Shows the latest posted count now, so that the last one is never lost.
    void Flush();
    // Shows what is pending, then lets the display rest before the next count.
    void Drain();

private:
    std::function<void(qint64)> FApply;
    std::shared_ptr<TProgressSlot> FSlot = std::make_shared<TProgressSlot>();
    QTimer FCoolDown;
};
