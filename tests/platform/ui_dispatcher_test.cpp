#include "platform/ui_dispatcher.h"
#include "support/pump_events.h"

#include <QDeadlineTimer>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {

// Runs Work on a thread of its own while the UI thread keeps handling events.
void RunOnWorker(const std::function<void()>& work) {
    std::atomic<bool> finished = false;
    std::thread worker([&] {
        work();
        finished = true;
    });
    EXPECT_TRUE(PumpEventsUntil([&] { return finished.load(); }));
    worker.join();
}

// Waits without handling events, so that nothing queued for the UI thread runs meanwhile, until
// a worker's effect waits for its turn.
bool HoldUntilAnEffectIsQueued() {
    const QDeadlineTimer deadline(10000);
    while (TUiDispatcher::QueuedEffects() == 0) {
        if (deadline.hasExpired())
            return false;
        std::this_thread::yield();
    }
    return true;
}

TEST(UiDispatcher, RunsEffectsOnTheUiThreadInOrderAndWaitsForThem) {
    TUiDispatcher dispatcher;
    QObject context;
    QList<int> order;
    bool onUiThread = true;
    RunOnWorker([&] {
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(TUiDispatcher::RunAndWait(&context, [&, i] {
                onUiThread = onUiThread && QThread::currentThread() == context.thread();
                order.append(i);
            }));
            // The effect has run when the wait ends.
            EXPECT_EQ(order.size(), i + 1);
        }
    });
    EXPECT_TRUE(onUiThread);
    EXPECT_EQ(order, (QList<int>{0, 1, 2}));
}

TEST(UiDispatcher, OnTheUiThreadRunsInPlace) {
    TUiDispatcher dispatcher;
    QObject context;
    bool ran = false;
    EXPECT_TRUE(TUiDispatcher::RunAndWait(&context, [&] { ran = true; }));
    EXPECT_TRUE(ran);
}

TEST(UiDispatcher, DropsEffectsOnAnObjectThatIsGoneByTheirTurn) {
    TUiDispatcher dispatcher;
    auto context = std::make_unique<QObject>();
    std::atomic<int> result = -1;
    bool ran = false;
    std::thread worker([&, target = context.get()] {
        result = TUiDispatcher::RunAndWait(target, [&] { ran = true; }) ? 1 : 0;
    });
    EXPECT_TRUE(HoldUntilAnEffectIsQueued());
    context.reset();
    EXPECT_TRUE(PumpEventsUntil([&] { return result != -1; }));
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(ran);
}

TEST(UiDispatcher, AWaitingWorkerWakesWhenTheDispatcherShutsDown) {
    auto dispatcher = std::make_unique<TUiDispatcher>();
    QObject context;
    std::atomic<int> result = -1;
    std::thread worker([&] { result = TUiDispatcher::RunAndWait(&context, [] {}) ? 1 : 0; });
    // The UI thread never serves the effect: it shuts the dispatcher down instead.
    EXPECT_TRUE(HoldUntilAnEffectIsQueued());
    dispatcher.reset();
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(TUiDispatcher::QueuedEffects(), 0);
    EXPECT_TRUE(TUiDispatcher::ShuttingDown());
    bool ran = false;
    RunOnWorker([&] { EXPECT_FALSE(TUiDispatcher::RunAndWait(&context, [&] { ran = true; })); });
    EXPECT_FALSE(ran);
}

} // namespace
