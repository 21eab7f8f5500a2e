#include "platform/ui_dispatcher.h"
#include "queued_call.h"
#include "support/pump_events.h"
#include "upgrade/au_thread.h"
#include "upgrade/au_thread_window.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

// What the routines of a component did, and on which thread; only the UI thread writes Events.
struct TTrace {
    std::vector<std::string> Events;
    std::atomic<int> Executions = 0;
    std::atomic<bool> OnUiThread = true;

    void Note(const std::string& event) {
        OnUiThread = OnUiThread && QThread::currentThread() == qApp->thread();
        Events.push_back(event);
    }
};

// What the kernel says a thread of this process is doing: 'R' running or ready to, 'S' asleep
// in a wait.
char KernelState(qint64 threadId) {
    QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(threadId));
    if (!stat.open(QIODevice::ReadOnly))
        return '?';
    // The state follows the name, which is in parentheses and may hold anything.
    const QByteArray line = stat.readAll();
    const qsizetype nameEnd = line.lastIndexOf(')');
    return nameEnd >= 0 && nameEnd + 2 < line.size() ? line.at(nameEnd + 2) : '?';
}

class ThreadObjects : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(TauEventThread::WaitForAbandoned(std::chrono::seconds(10)));
        EXPECT_FALSE(TauThreadWindow::Exists());
    }

    // A component whose termination and exception routines write into the trace.
    std::unique_ptr<TauCustomThread> Traced(TTrace& trace) {
        auto thread = std::make_unique<TauCustomThread>();
        thread->SetOnTerminate([&trace](TauEventThread&) { trace.Note("terminate"); });
        thread->SetOnException([&trace](TauEventThread&) { trace.Note("exception"); });
        return thread;
    }

    TUiDispatcher FDispatcher;
};

TEST_F(ThreadObjects, ARunSynchronizesInOrderAndTerminatesInTheUiThread) {
    TTrace trace;
    auto thread = Traced(trace);
    std::atomic<bool> workerOffUi = false;
    thread->SetOnExecute([&](TauEventThread& run) {
        workerOffUi = QThread::currentThread() != qApp->thread();
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(run.Synchronize([&, i] { trace.Note("call " + std::to_string(i)); }));
    });
    EXPECT_TRUE(thread->IsSuspended());
    EXPECT_TRUE(thread->Start());
    EXPECT_TRUE(thread->Executing());
    EXPECT_FALSE(thread->IsSuspended());
    ASSERT_TRUE(PumpEventsUntil([&] { return !thread->Executing(); }));
    EXPECT_TRUE(workerOffUi);
    EXPECT_TRUE(trace.OnUiThread);
    EXPECT_EQ(trace.Events, (std::vector<std::string>{"call 0", "call 1", "call 2", "terminate"}));
}

TEST_F(ThreadObjects, AnExceptionGoesToOnExceptionOnceAndTheRunStillTerminates) {
    TTrace trace;
    auto thread = Traced(trace);
    thread->SetOnExecute([](TauEventThread&) { throw std::runtime_error("broken"); });
    thread->Start();
    ASSERT_TRUE(PumpEventsUntil([&] { return !thread->Executing(); }));
    EXPECT_EQ(trace.Events, (std::vector<std::string>{"exception", "terminate"}));
}

TEST_F(ThreadObjects, TerminateFalseOnlyAsksARunThatNeverLooksRunsToItsEnd) {
    TTrace trace;
    auto thread = Traced(trace);
    std::atomic<bool> running = false;
    std::atomic<bool> release = false;
    thread->SetOnExecute([&](TauEventThread&) {
        running = true;
        while (!release)
            QThread::msleep(1);
        ++trace.Executions;
    });
    thread->Start();
    while (!running)
        QThread::msleep(1);
    thread->Terminate(false);
    EXPECT_TRUE(thread->Terminated());
    EXPECT_TRUE(thread->Executing());
    release = true;
    ASSERT_TRUE(PumpEventsUntil([&] { return !thread->Executing(); }));
    EXPECT_EQ(trace.Executions, 1);
    EXPECT_EQ(trace.Events, (std::vector<std::string>{"terminate"}));
}

TEST_F(ThreadObjects, StartAbandonsARunningRunWhichEndsSilently) {
    TTrace trace;
    auto thread = Traced(trace);
    std::atomic<int> started = 0;
    std::atomic<bool> oldCallRan = false;
    thread->SetOnExecute([&](TauEventThread& run) {
        const int number = ++started;
        while (number == 1 && !run.CheckTerminated())
            QThread::msleep(1);
        // Once abandoned, a run's calls are skipped.
        if (number == 1) {
            EXPECT_FALSE(run.Synchronize([&] { oldCallRan = true; }));
        }
    });
    thread->Start();
    ASSERT_TRUE(PumpEventsUntil([&] { return started == 1; }));
    thread->Start();
    ASSERT_TRUE(PumpEventsUntil([&] { return started == 2 && !thread->Executing(); }));
    ASSERT_TRUE(TauEventThread::WaitForAbandoned(std::chrono::seconds(10)));
    // The old run has ended: whatever it handed over has been posted and is delivered now.
    QCoreApplication::processEvents();
    EXPECT_FALSE(oldCallRan);
    EXPECT_EQ(trace.Events, (std::vector<std::string>{"terminate"}));
}

TEST_F(ThreadObjects, StartFromInsideOnTerminateChainsRuns) {
    auto thread = std::make_unique<TauCustomThread>();
    std::atomic<int> runs = 0;
    std::vector<int> finished;
    thread->SetOnExecute([&](TauEventThread&) { ++runs; });
    thread->SetOnTerminate([&](TauEventThread& run) {
        finished.push_back(runs);
        if (runs < 3) {
            thread->Start();
            // The abandoned run's object is still valid for the rest of the notification.
            EXPECT_TRUE(run.Terminated());
        }
    });
    thread->Start();
    ASSERT_TRUE(PumpEventsUntil([&] { return finished.size() == 3 && !thread->Executing(); }));
    EXPECT_EQ(finished, (std::vector<int>{1, 2, 3}));
}

TEST_F(ThreadObjects, ARunThatEndsItselfLeavesAFreshIdleThreadObject) {
    TTrace trace;
    auto thread = Traced(trace);
    std::atomic<bool> afterEnd = false;
    std::atomic<int> runs = 0;
    thread->SetPriority(tpLower);
    thread->SetOnExecute([&](TauEventThread& run) {
        if (++runs == 1) {
            run.EndNow();
            afterEnd = true;
        }
    });
    thread->Start();
    ASSERT_TRUE(PumpEventsUntil([&] { return runs == 1 && !thread->Executing(); }));
    ASSERT_TRUE(TauEventThread::WaitForAbandoned(std::chrono::seconds(10)));
    EXPECT_FALSE(afterEnd);
    EXPECT_TRUE(trace.Events.empty());
    EXPECT_TRUE(thread->IsSuspended());
    EXPECT_EQ(thread->Priority(), tpLower);
    thread->Start();
    ASSERT_TRUE(PumpEventsUntil([&] { return !thread->Executing(); }));
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(trace.Events, (std::vector<std::string>{"terminate"}));
}

TEST_F(ThreadObjects, APrioritySetBeforeStartAppliesToTheRun) {
    auto thread = std::make_unique<TauCustomThread>();
    std::atomic<int> nice = -100;
    std::atomic<int> reported = -1;
    thread->SetPriority(tpLowest);
    thread->SetOnExecute([&](TauEventThread& run) {
        nice = getpriority(PRIO_PROCESS, static_cast<id_t>(run.ThreadID()));
        reported = run.GetPriority();
    });
    thread->Start();
    ASSERT_TRUE(PumpEventsUntil([&] { return !thread->Executing(); }));
    EXPECT_EQ(nice, 10);
    EXPECT_EQ(reported, tpLowest);
}

TEST_F(ThreadObjects, TheDispatcherLivesExactlyAsLongAsSomeThreadObject) {
    EXPECT_FALSE(TauThreadWindow::Exists());
    TTrace trace;
    auto first = Traced(trace);
    auto second = std::make_unique<TauCustomThread>();
    EXPECT_TRUE(TauThreadWindow::Exists());
    first->Start();
    first.reset();
    EXPECT_TRUE(TauThreadWindow::Exists());
    second->Terminate(true);
    second.reset();
    EXPECT_FALSE(TauThreadWindow::Exists());
    // An abandoned run calls no routine, even once it has ended.
    ASSERT_TRUE(TauEventThread::WaitForAbandoned(std::chrono::seconds(10)));
    QCoreApplication::processEvents();
    EXPECT_TRUE(trace.Events.empty());
}

TEST_F(ThreadObjects, WaitForOnTheUiThreadDeliversCallsWithoutTheEventLoop) {
    auto thread = std::make_unique<TauCustomThread>();
    std::vector<int> delivered;
    thread->SetOnExecute([&](TauEventThread& run) {
        for (int i = 0; i < 5; ++i)
            run.Synchronize([&, i] { delivered.push_back(i); });
    });
    thread->SetOnTerminate([&](TauEventThread&) { delivered.push_back(-1); });
    thread->Start();
    thread->Thread()->WaitFor();
    EXPECT_EQ(delivered, (std::vector<int>{0, 1, 2, 3, 4, -1}));
    EXPECT_FALSE(thread->Executing());
}

TEST_F(ThreadObjects, DestroyingTheComponentReleasesARunWaitingForACall) {
    auto thread = std::make_unique<TauCustomThread>();
    std::atomic<int> answer = -1;
    bool ran = false;
    thread->SetOnExecute(
        [&](TauEventThread& run) { answer = run.Synchronize([&] { ran = true; }) ? 1 : 0; });
    thread->Start();
    ASSERT_TRUE(WaitForQueuedCall());
    thread.reset();
    ASSERT_TRUE(TauEventThread::WaitForAbandoned(std::chrono::seconds(10)));
    EXPECT_EQ(answer, 0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}

TEST_F(ThreadObjects, ASuspendedRunWaitsAtItsNextCheckUntilResumed) {
    auto thread = std::make_unique<TauCustomThread>();
    std::atomic<int> checks = 0;
    thread->SetOnExecute([&](TauEventThread& run) {
        while (!run.CheckTerminated())
            ++checks;
    });
    thread->Start();
    const std::shared_ptr<TauEventThread> run = thread->Thread();
    ASSERT_TRUE(PumpEventsUntil([&] { return checks > 1000; }));
    thread->Suspend();
    EXPECT_TRUE(thread->IsSuspended());
    const int atSuspend = checks;
    // Held at its check, the thread sleeps; counting, it never would.
    ASSERT_TRUE(PumpEventsUntil([&] { return KernelState(run->ThreadID()) == 'S'; }));
    // Meanwhile at most the pass under way when the suspension came has ended.
    const int held = checks;
    EXPECT_LE(held, atSuspend + 1);
    run->Resume();
    ASSERT_TRUE(PumpEventsUntil([&] { return checks > held; }));
    thread->Terminate(false);
    ASSERT_TRUE(PumpEventsUntil([&] { return !thread->Executing(); }));
}

TEST(ThreadObjectsAtShutdown, ARunWaitingForACallWakesWhenTheDispatcherGoes) {
    auto dispatcher = std::make_unique<TUiDispatcher>();
    auto thread = std::make_unique<TauCustomThread>();
    std::atomic<int> answer = -1;
    thread->SetOnExecute([&](TauEventThread& run) { answer = run.Synchronize([] {}) ? 1 : 0; });
    thread->Start();
    ASSERT_TRUE(WaitForQueuedCall());
    dispatcher.reset();
    for (int i = 0; i < 1000 && answer == -1; ++i)
        QThread::msleep(5);
    EXPECT_EQ(answer, 0);
    thread.reset();
    EXPECT_TRUE(TauEventThread::WaitForAbandoned(std::chrono::seconds(10)));
}

} // namespace
