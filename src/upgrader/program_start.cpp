#include "upgrader/program_start.h"

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

// The upgrader inherits the signal dispositions of the client that started it; the program it
// starts should not.
struct TSpawnAttributes {
    posix_spawnattr_t Attributes;

    TSpawnAttributes() {
        posix_spawnattr_init(&Attributes);
        sigset_t all;
        sigset_t none;
        sigfillset(&all);
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&Attributes, &all);
        posix_spawnattr_setsigmask(&Attributes, &none);
        posix_spawnattr_setflags(&Attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~TSpawnAttributes() { posix_spawnattr_destroy(&Attributes); }
    TSpawnAttributes(const TSpawnAttributes&) = delete;
    TSpawnAttributes& operator=(const TSpawnAttributes&) = delete;
};

} // namespace

pid_t StartProgram(const QString& programPath, const QString& arguments) {
    return StartProgramWith(programPath, arguments, {});
}

pid_t StartProgramWith(const QString& programPath, const QString& arguments,
                       const QByteArray& variable) {
    std::vector<QByteArray> words{QFile::encodeName(programPath)};
    for (const QString& argument : arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    QByteArray extra = variable;
    std::vector<char*> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        environment.push_back(*entry);
    if (!extra.isEmpty())
        environment.push_back(extra.data());
    environment.push_back(nullptr);

    TSpawnAttributes attributes;
    pid_t process = -1;
    if (posix_spawn(&process, words.front().constData(), nullptr, &attributes.Attributes,
                    argv.data(), environment.data()) != 0)
        return -1;
    return process;
}

void WaitForProgram(pid_t process) {
    while (::waitpid(process, nullptr, 0) < 0 && errno == EINTR) {
    }
}
