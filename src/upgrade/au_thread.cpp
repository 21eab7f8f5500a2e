#include "upgrade/au_thread.h"

#include "upgrade/au_thread_window.h"

#include <QCoreApplication>
#include <QThread>
#include <array>
#include <cerrno>
#include <exception>
#include <sys/resource.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

// Unwinds a run that ended itself through EndNow.
struct TRunEnded {};

// How long a run looks for the UI thread's answer, giving its processor away between looks,
// before it sleeps: the answer usually comes within microseconds, a wake-up costs more.
constexpr auto kAnswerLook = std::chrono::microseconds(20);

// Runs abandoned while executing that have not ended yet.
int AbandonedRunning = 0;

std::thread MakeSystemThread(std::function<void()> body) {
    return std::thread(std::move(body));
}

// Read and replaced with the lock held.
TauThreadMaker ThreadMaker = MakeSystemThread;

// The system's thread priorities, from idle to time-critical, as nice values: lower is more.
// Raising a thread above normal needs a privilege; without it the thread stays at normal.
constexpr std::array<int, 7> kNiceValues{19, 10, 5, 0, -5, -10, -20};

int NiceOf(TThreadPriority priority) {
    return kNiceValues[static_cast<size_t>(priority)];
}

TThreadPriority PriorityOfNice(int nice) {
    TThreadPriority found = tpNormal;
    for (size_t i = 0; i < kNiceValues.size(); ++i)
        if (kNiceValues[i] == nice)
            found = static_cast<TThreadPriority>(i);
    return found;
}

bool OnUiThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

} // namespace

TauThreadMaker SetThreadMakerForTesting(TauThreadMaker maker) {
    const std::lock_guard lock(ThreadLock());
    return std::exchange(ThreadMaker, maker);
}

std::shared_ptr<TauEventThread> TauEventThread::CreateLocked(TauCustomThread* owner) {
    std::shared_ptr<TauEventThread> thread(new TauEventThread(owner));
    TauThreadWindow::AddUserLocked();
    return thread;
}

TauEventThread::~TauEventThread() {
    // The last holder is the owner after the run ended, or the abandoned run itself.
    if (FHandle.joinable())
        FHandle.detach();
}

void TauEventThread::DisposeLocked() {
    if (FDisposed)
        return;
    FDisposed = true;
    FTerminated = true;
    if (FHandle.joinable()) {
        if (FFinished) {
            // The run has ended or is about to; what is left takes no lock.
            FHandle.join();
        } else {
            FAbandoned = true;
            ++AbandonedRunning;
            SkipPendingCallLocked();
            FHandle.detach();
        }
    }
    // A thread waiting while suspended sees Terminated.
    ThreadsChanged().notify_all();
    TauThreadWindow::RemoveUserLocked();
}

void TauEventThread::SkipPendingCallLocked() {
    TSyncState pending = TSyncState::Pending;
    if (!FSyncState.compare_exchange_strong(pending, TSyncState::Skipped))
        return;
    FSyncState.notify_all();
    // Nobody waits for the call of a run without a thread: skipped, the run is over.
    if (FSyncMethod == &FRunWithoutThread)
        FinishLocked();
}

void TauEventThread::Launch() {
    FLaunched = true;
    FExecuting = !FTerminated;
    try {
        FHandle =
            ThreadMaker([self = shared_from_this(), routines = FRoutines] { self->Run(routines); });
    } catch (const std::system_error&) {
        // The run fails as one whose OnExecute raised the refusal, and never inside Start or
        // Resume: its routines reach the UI thread as any run's calls do.
        TRoutines refused = FRoutines;
        refused.OnExecute = [refusal = std::current_exception()](TauEventThread&) {
            std::rethrow_exception(refusal);
        };
        QueueRunLocked(std::move(refused));
    }
}

void TauEventThread::QueueRunLocked(TRoutines routines) {
    FRunWithoutThread = [this, routines = std::move(routines)] {
        RunRoutines(routines);
    };
    FSyncMethod = &FRunWithoutThread;
    FSyncState = TSyncState::Pending;
    TauThreadWindow* window = TauThreadWindow::InstanceLocked();
    if (FExecuting && window != nullptr && window->QueueLocked(shared_from_this()))
        return;
    FSyncState = TSyncState::Idle;
    FinishLocked();
}

void TauEventThread::Run(const TRoutines& routines) {
    FThreadID = gettid();
    setpriority(PRIO_PROCESS, static_cast<id_t>(FThreadID), NiceOf(FPriority));
    RunRoutines(routines);
}

void TauEventThread::RunRoutines(const TRoutines& routines) {
    if (!FTerminated) {
        try {
            if (routines.OnExecute)
                routines.OnExecute(*this);
        } catch (const TRunEnded&) {
            Finish();
            return;
        } catch (...) {
            if (routines.OnException)
                RunSynchronized(routines.OnException, {});
        }
        if (routines.OnTerminate)
            RunSynchronized(routines.OnTerminate, routines.OnException);
    }
    Finish();
}

void TauEventThread::RunSynchronized(const TauThreadMethod& routine,
                                     const TauThreadMethod& onException) {
    Synchronize([&] {
        try {
            routine(*this);
        } catch (...) {
            if (onException)
                onException(*this);
        }
    });
}

void TauEventThread::Finish() {
    const std::lock_guard lock(ThreadLock());
    FinishLocked();
}

void TauEventThread::FinishLocked() {
    FExecuting = false;
    FFinished = true;
    if (FAbandoned)
        --AbandonedRunning;
    ThreadsChanged().notify_all();
}

bool TauEventThread::Synchronize(const std::function<void()>& method) {
    if (OnUiThread()) {
        if (FAbandoned || FDisposed)
            return false;
        method();
        return true;
    }
    {
        const std::lock_guard lock(ThreadLock());
        TauThreadWindow* window = TauThreadWindow::InstanceLocked();
        if (FAbandoned || window == nullptr)
            return false;
        FSyncMethod = &method;
        FSyncState = TSyncState::Pending;
        if (!window->QueueLocked(shared_from_this())) {
            FSyncState = TSyncState::Idle;
            return false;
        }
    }
    const auto waiting = [](TSyncState state) {
        return state == TSyncState::Pending || state == TSyncState::Running;
    };
    const auto lookEnd = std::chrono::steady_clock::now() + kAnswerLook;
    TSyncState state = FSyncState;
    while (waiting(state) && std::chrono::steady_clock::now() < lookEnd) {
        std::this_thread::yield();
        state = FSyncState;
    }
    while (waiting(state)) {
        FSyncState.wait(state);
        state = FSyncState;
    }
    FSyncState = TSyncState::Idle;
    return state == TSyncState::Done;
}

bool TauEventThread::CheckTerminated() {
    if (FSuspended && !FTerminated) {
        std::unique_lock lock(ThreadLock());
        ThreadsChanged().wait(lock, [this] { return !FSuspended || FTerminated; });
    }
    return FTerminated;
}

void TauEventThread::EndNow() {
    {
        const std::lock_guard lock(ThreadLock());
        if (!FAbandoned && FOwner != nullptr && FOwner->FThread.get() == this)
            FOwner->ReplaceThreadLocked();
    }
    throw TRunEnded();
}

void TauEventThread::Suspend() {
    const std::lock_guard lock(ThreadLock());
    ++FSuspendCount;
    FSuspended = true;
}

void TauEventThread::Resume() {
    const std::lock_guard lock(ThreadLock());
    if (FSuspendCount == 0)
        return;
    if (--FSuspendCount > 0)
        return;
    FSuspended = false;
    if (!FLaunched && !FDisposed)
        Launch();
    ThreadsChanged().notify_all();
}

quint32 TauEventThread::WaitFor() {
    std::unique_lock lock(ThreadLock());
    if (!FHandle.joinable() || std::this_thread::get_id() == FHandle.get_id())
        return ReturnValue();
    const bool onUiThread = OnUiThread();
    while (!FFinished) {
        TauThreadWindow* window = TauThreadWindow::InstanceLocked();
        if (onUiThread && window != nullptr && window->HasPendingLocked()) {
            lock.unlock();
            window->DeliverPending();
            lock.lock();
            continue;
        }
        ThreadsChanged().wait(lock);
    }
    return ReturnValue();
}

TThreadPriority TauEventThread::GetPriority() const {
    if (FThreadID == 0 || FFinished)
        return FPriority;
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(FThreadID));
    return errno == 0 ? PriorityOfNice(nice) : FPriority.load();
}

void TauEventThread::SetPriority(TThreadPriority priority) {
    FPriority = priority;
    if (FThreadID != 0 && !FFinished)
        setpriority(PRIO_PROCESS, static_cast<id_t>(FThreadID), NiceOf(priority));
}

bool TauEventThread::WaitForAbandoned(std::chrono::milliseconds timeout) {
    std::unique_lock lock(ThreadLock());
    return ThreadsChanged().wait_for(lock, timeout, [] { return AbandonedRunning == 0; });
}

TauCustomThread::TauCustomThread(QObject* owner) : QObject(owner) {
    const std::lock_guard lock(ThreadLock());
    FThread = TauEventThread::CreateLocked(this);
}

TauCustomThread::~TauCustomThread() {
    const std::lock_guard lock(ThreadLock());
    FThread->DisposeLocked();
}

void TauCustomThread::SetOnExecute(TauThreadMethod method) {
    const std::lock_guard lock(ThreadLock());
    FThread->FRoutines.OnExecute = std::move(method);
}

void TauCustomThread::SetOnException(TauThreadMethod method) {
    const std::lock_guard lock(ThreadLock());
    FThread->FRoutines.OnException = std::move(method);
}

void TauCustomThread::SetOnTerminate(TauThreadMethod method) {
    const std::lock_guard lock(ThreadLock());
    FThread->FRoutines.OnTerminate = std::move(method);
}

void TauCustomThread::ReplaceThreadLocked() {
    const std::shared_ptr<TauEventThread> old = FThread;
    std::shared_ptr<TauEventThread> fresh = TauEventThread::CreateLocked(this);
    fresh->FPriority = old->GetPriority();
    fresh->FRoutines = old->FRoutines;
    old->DisposeLocked();
    FThread = std::move(fresh);
}

bool TauCustomThread::Start() {
    std::shared_ptr<TauEventThread> thread;
    {
        const std::lock_guard lock(ThreadLock());
        ReplaceThreadLocked();
        thread = FThread;
    }
    thread->Resume();
    return true;
}

void TauCustomThread::Terminate(bool immediately) {
    const std::lock_guard lock(ThreadLock());
    if (immediately) {
        ReplaceThreadLocked();
        return;
    }
    FThread->FTerminated = true;
    ThreadsChanged().notify_all();
}

void TauCustomThread::Suspend() {
    Thread()->Suspend();
}

bool TauCustomThread::Executing() const {
    return Thread()->Executing();
}

bool TauCustomThread::Terminated() const {
    return Thread()->Terminated();
}

bool TauCustomThread::IsSuspended() const {
    return Thread()->Suspended();
}

TThreadPriority TauCustomThread::Priority() const {
    return Thread()->GetPriority();
}

void TauCustomThread::SetPriority(TThreadPriority priority) {
    Thread()->SetPriority(priority);
}

std::shared_ptr<TauEventThread> TauCustomThread::Thread() const {
    const std::lock_guard lock(ThreadLock());
    return FThread;
}
