#pragma once

#include <QObject>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

// Worker threads of the upgrade family. A TauCustomThread component runs each job on a fresh
// TauEventThread, one operating-system thread per run, and the run hands calls to the UI thread
// through one dispatcher that all thread objects share.
//
// A run that is replaced while it executes (a new Start, Terminate(true), the component's
// destruction) is abandoned, not killed: its flag Terminated is set, it runs out on its own and
// calls nothing more; every call it hands over from then on is skipped. Its thread object lives
// on with the run, so the run may go on using it safely.

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TauCustomThread;
class TauEventThread;

// A routine of a run; it receives the thread object of that run.
using TauThreadMethod = std::function<void(TauEventThread& thread)>;

// Makes the operating-system thread that runs Body; the system may refuse, throwing
// std::system_error. Only a unit test puts in a maker of its own, to have it refuse; returns the
// maker it replaces.
using TauThreadMaker = std::thread (*)(std::function<void()> body);
TauThreadMaker SetThreadMakerForTesting(TauThreadMaker maker);

class TauEventThread : public std::enable_shared_from_this<TauEventThread> {
public:
    ~TauEventThread();
    TauEventThread(const TauEventThread&) = delete;
    TauEventThread& operator=(const TauEventThread&) = delete;

    // On the run's own thread: runs Method in the UI thread and returns once it has run (true)
    // or has been skipped because the run was abandoned or the application is shutting down
    // (false). What Method throws is caught in the UI thread and dropped.
    bool Synchronize(const std::function<void()>& method);
    // On the run's own thread: Terminated, after waiting while the thread is suspended.
    bool CheckTerminated();
    // On the run's own thread: Terminate(true) of the owner, which ends this run. Nothing after
    // it runs here: it unwinds to the end of the thread and calls no routine.
    [[noreturn]] void EndNow();

    // The run no longer polls when suspended: it waits at its next CheckTerminated.
    void Suspend();
    void Resume();
    // Waits until the thread has ended; on the UI thread calls handed over meanwhile, from any
    // thread object, are delivered. Returns at once for a thread never started, the one the
    // system refused included.
    quint32 WaitFor();
    TThreadPriority GetPriority() const;
    void SetPriority(TThreadPriority priority);

    bool Terminated() const { return FTerminated; }
    bool Suspended() const { return FSuspended; }
    // True from Start until the termination routine has run.
    bool Executing() const { return FExecuting; }
    quint32 ReturnValue() const { return 0; }
    // The kernel's id of the thread; 0 before it runs.
    qint64 ThreadID() const { return FThreadID; }
    // The component; valid only in the UI thread while the run is not abandoned.
    TauCustomThread* Owner() const { return FOwner; }

    // Waits until every abandoned run has ended; false when some still run after Timeout.
    static bool WaitForAbandoned(std::chrono::milliseconds timeout);

private:
    friend class TauCustomThread;
    friend class TauThreadWindow;
    enum class TSyncState { Idle, Pending, Running, Done, Skipped };

    // Made by the component, with the lock held, suspended: no operating-system thread runs
    // until the first Resume.
    static std::shared_ptr<TauEventThread> CreateLocked(TauCustomThread* owner);
    explicit TauEventThread(TauCustomThread* owner) : FOwner(owner) {}
    struct TRoutines {
        TauThreadMethod OnExecute, OnException, OnTerminate;
    };

    void Launch();
    // With the lock held: hands the whole run to the UI thread, for a run without a thread.
    void QueueRunLocked(TRoutines routines);
    void Run(const TRoutines& routines);
    // OnExecute, OnException for what it raised, then OnTerminate; none for a run stopped before
    // it began.
    void RunRoutines(const TRoutines& routines);
    void RunSynchronized(const TauThreadMethod& routine, const TauThreadMethod& onException);
    void Finish();
    void FinishLocked();
    // With the lock held: what the owner does to a thread object it frees.
    void DisposeLocked();
    void SkipPendingCallLocked();

    TauCustomThread* FOwner;
    TRoutines FRoutines;
    std::atomic<TThreadPriority> FPriority = tpNormal;
    bool FLaunched = false;
    std::thread FHandle;
    std::atomic<qint64> FThreadID = 0;
    std::atomic<bool> FTerminated = false;
    std::atomic<bool> FSuspended = true;
    int FSuspendCount = 1;
    std::atomic<bool> FExecuting = false;
    std::atomic<bool> FFinished = false;
    std::atomic<bool> FAbandoned = false;
    std::atomic<bool> FDisposed = false;
    const std::function<void()>* FSyncMethod = nullptr;
    std::function<void()> FRunWithoutThread;
    std::atomic<TSyncState> FSyncState = TSyncState::Idle;
};

// A non-visual component that owns one thread object and replaces it with a fresh one for
// every run.
class TauCustomThread : public QObject {
    Q_OBJECT
public:
    explicit TauCustomThread(QObject* owner = nullptr);
    ~TauCustomThread() override;

    void SetOnExecute(TauThreadMethod method);
    void SetOnException(TauThreadMethod method);
    void SetOnTerminate(TauThreadMethod method);

    // Runs OnExecute on a fresh thread, abandoning a run still executing; does not wait. When the
    // system refuses the thread, the run fails as if OnExecute had raised: OnException and
    // OnTerminate run in the UI thread, after Start has returned.
    bool Start();
    // False: asks the run to stop (sets Terminated). True: abandons the run and puts a fresh,
    // suspended thread object with the same routines and priority in its place.
    void Terminate(bool immediately);
    void Suspend();
    bool Executing() const;
    bool Terminated() const;
    bool IsSuspended() const;
    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority priority);
    // The current thread object, for WaitFor.
    std::shared_ptr<TauEventThread> Thread() const;

private:
    friend class TauEventThread;
    // With the lock held.
    void ReplaceThreadLocked();

    std::shared_ptr<TauEventThread> FThread;
};
