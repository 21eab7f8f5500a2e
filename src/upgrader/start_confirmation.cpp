#include "upgrader/start_confirmation.h"

#include "upgrader/program_start.h"
#include "upgrader/upgrade_protocol.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr milliseconds kGraceToEnd{5000};

class TSocketPair {
public:
    TSocketPair() {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, FEnds) != 0)
            FEnds[0] = FEnds[1] = -1;
    }
    ~TSocketPair() {
        CloseChildEnd();
        if (FEnds[0] >= 0)
            ::close(FEnds[0]);
    }
    TSocketPair(const TSocketPair&) = delete;
    TSocketPair& operator=(const TSocketPair&) = delete;

    bool Valid() const { return FEnds[0] >= 0; }
    int Ours() const { return FEnds[0]; }
    // Inherited by the program we start, and by nothing else: we start one program at a time.
    int ChildEnd() const {
        ::fcntl(FEnds[1], F_SETFD, 0);
        return FEnds[1];
    }
    void CloseChildEnd() {
        if (FEnds[1] >= 0)
            ::close(FEnds[1]);
        FEnds[1] = -1;
    }

private:
    int FEnds[2] = {-1, -1};
};

// Reads until the confirmation arrives (true), the other end closes, or the deadline passes.
bool AwaitConfirmation(int socket, steady_clock::time_point deadline, bool& timedOut) {
    const std::string expected = upgrade_protocol::kConfirmation;
    std::string received;
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            return false;
        }
        pollfd waiting{socket, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        char buffer[64];
        const ssize_t count = ::read(socket, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        received.append(buffer, static_cast<size_t>(count));
        if (received.size() >= expected.size())
            return received.compare(0, expected.size(), expected) == 0;
    }
}

bool Reaped(pid_t process) {
    int status = 0;
    return ::waitpid(process, &status, WNOHANG) == process;
}

void Stop(pid_t process) {
    ::kill(process, SIGTERM);
    const auto deadline = steady_clock::now() + kGraceToEnd;
    while (steady_clock::now() < deadline) {
        if (Reaped(process))
            return;
        std::this_thread::sleep_for(milliseconds(20));
    }
    ::kill(process, SIGKILL);
    WaitForProgram(process);
}

} // namespace

TStartOutcome StartAndAwaitConfirmation(const QString& programPath, const QString& arguments,
                                        milliseconds timeout) {
    TSocketPair socket;
    if (!socket.Valid())
        return TStartOutcome::NotStarted;
    const QByteArray variable = QByteArray(upgrade_protocol::kConfirmVariable) + '=' +
                                QByteArray::number(socket.ChildEnd());
    const pid_t process = StartProgramWith(programPath, arguments, variable);
    socket.CloseChildEnd();
    if (process <= 0)
        return TStartOutcome::NotStarted;
    bool timedOut = false;
    if (AwaitConfirmation(socket.Ours(), steady_clock::now() + timeout, timedOut)) {
        // Confirmed: it runs on without us; the system reaps it once we are gone.
        return TStartOutcome::Confirmed;
    }
    Stop(process);
    return timedOut ? TStartOutcome::TimedOut : TStartOutcome::Ended;
}
