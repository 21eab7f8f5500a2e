#include "upgrader/program_wait.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kLowestPriority = 19;

bool IsRunning(const QByteArray& path) {
    // Never created, never truncated: the file is only probed. O_NONBLOCK keeps a FIFO from
    // blocking us.
    const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    switch (errno) {
    case ETXTBSY:
    case EINTR:
        return true;
    case EACCES:
    case EPERM:
    case EROFS:
        return IsExecutedByAnyProcess(QFile::decodeName(path));
    default:
        return false; // gone, or not a file a program could run from
    }
}

} // namespace

bool IsExecutedByAnyProcess(const QString& programPath) {
    struct stat program {};
    if (::stat(QFile::encodeName(programPath).constData(), &program) != 0)
        return false;
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& process : processes) {
        struct stat executable {};
        const QByteArray link = "/proc/" + process.toLatin1() + "/exe";
        if (process.front().isDigit() && ::stat(link.constData(), &executable) == 0 &&
            executable.st_dev == program.st_dev && executable.st_ino == program.st_ino)
            return true;
    }
    return false;
}

void WaitUntilProgramEnded(const QString& programPath) {
    const QByteArray path = QFile::encodeName(programPath);
    // The wait runs on a thread of its own: on Linux a thread's priority is its own, so the
    // upgrader, and the program it starts afterwards, keep the priority they had.
    std::thread waiter([&path] {
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kLowestPriority);
        while (IsRunning(path))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    waiter.join();
}
