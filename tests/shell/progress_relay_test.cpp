#include "platform/ui_dispatcher.h"
#include "shell/progress_relay.h"
#include "support/pump_events.h"

#include <QElapsedTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(ProgressRelay, CoalescesManySmallBlocksAndKeepsTheLastCount) {
    TUiDispatcher dispatcher;
    QList<qint64> shown;
    TProgressRelay relay([&shown](qint64 count) { shown.append(count); });
    const TProgressFeed feed = relay.Feed();

    constexpr qint64 kBlocks = 200000;
    std::atomic<bool> finished = false;
    QElapsedTimer clock;
    clock.start();
    std::thread worker([&] {
        for (qint64 count = 1; count <= kBlocks; ++count)
            feed.Post(count);
        finished = true;
    });
    ASSERT_TRUE(PumpEventsUntil([&] { return finished.load(); }));
    worker.join();
    relay.Flush();
    const qint64 elapsed = clock.elapsed();

    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.last(), kBlocks);
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    // About one update per 100 ms, however many blocks arrived.
    EXPECT_LE(shown.size(), elapsed / 100 + 3);
}

TEST(ProgressRelay, ACountPostedAfterAQuietSpellStillArrives) {
    TUiDispatcher dispatcher;
    QList<qint64> shown;
    TProgressRelay relay([&shown](qint64 count) { shown.append(count); });
    const TProgressFeed feed = relay.Feed();
    for (qint64 count : {10, 20}) {
        std::thread([&feed, count] { feed.Post(count); }).join();
        EXPECT_TRUE(PumpEventsUntil([&] { return !shown.isEmpty() && shown.last() == count; }));
    }
}

} // namespace
