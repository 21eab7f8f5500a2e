// Its own program: the last test asks the application to end, which cannot be taken back.
#include "upgrade/au_utils.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(WaitWithMessages, ASignalFromAnotherThreadEndsTheWaitWhileEventsFlow) {
    TauEventHandle event = kNoEvent;
    // The wait hands its event to another thread through an event it handles meanwhile.
    std::atomic<TauEventHandle> shared = kNoEvent;
    QTimer::singleShot(10, [&] { shared = event; });
    std::thread signaller([&] {
        while (shared == kNoEvent)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        SignalEvent(shared);
    });
    QElapsedTimer clock;
    clock.start();
    WaitWithMessages(event, 0, true);
    signaller.join();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(event, kClosedEvent);
    // A signal while nobody waits is dropped.
    SignalEvent(event);
    SignalEvent(kNoEvent);
}

TEST(WaitWithMessages, EachEventRestartsTheTimeout) {
    TauEventHandle event = kNoEvent;
    QTimer ticks;
    int ticked = 0;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        if (++ticked == 8)
            ticks.stop();
    });
    ticks.start(40);
    QElapsedTimer clock;
    clock.start();
    WaitWithMessages(event, 250, false);
    // Eight ticks 40 ms apart kept the 250 ms timeout from running out for longer than that.
    EXPECT_EQ(ticked, 8);
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_EQ(event, kClosedEvent);
}

class TCountingWindow : public QMainWindow {
public:
    int CloseRequests = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++CloseRequests;
        QMainWindow::closeEvent(event);
    }
};

TEST(CloseApplication, ClosesTheMainWindowAndEndsWaits) {
    TCountingWindow window;
    window.show();
    EXPECT_FALSE(ApplicationTerminating());
    CloseApplication();
    EXPECT_EQ(window.CloseRequests, 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(ApplicationTerminating());
    TauEventHandle event = kNoEvent;
    QElapsedTimer clock;
    clock.start();
    WaitWithMessages(event, 0, true);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(event, kClosedEvent);
}

} // namespace
