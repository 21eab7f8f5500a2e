// Measures the client's start: from the process's start to the main window shown and to the
// game-list pane's page complete, then the memory of the whole process tree idle and with one
// game playing. It starts as the client does (the same steps as its main) against its own demo
// catalogue.
//
//   bench_startup
//
// Run it on an X display.
#include "platform/browser_pane.h"
#include "platform/flash_player.h"
#include "platform/qt_translations.h"
#include "platform/ui_dispatcher.h"
#include "shell/main_window.h"
#include "support/bench_program_folder.h"
#include "support/bench_setup.h"
#include "support/bench_verdict.h"
#include "support/player_loaded.h"
#include "support/settled_memory.h"
#include "upgrade/messages/upgrade_messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// Seconds since this process started, from the kernel's own record of its start.
double SecondsSinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Field 22, counted after the command name, which may hold blanks.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    const double now = uptime.readAll().split(' ').first().toDouble();
    return now - startTicks / double(::sysconf(_SC_CLK_TCK));
}

// The client's largest mappings by PSS: what its own share of the memory is made of.
void PrintLargestMappings(qint64 pid) {
    QFile smaps(QStringLiteral("/proc/%1/smaps").arg(pid));
    if (!smaps.open(QIODevice::ReadOnly))
        return;
    QMap<QString, double> byName;
    QString name;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 5 && fields[0].contains('-'))
            name = fields.size() > 5 ? QString::fromLocal8Bit(fields[5]) : QStringLiteral("[anon]");
        else if (line.startsWith("Pss:"))
            byName[name] += fields.value(1).toDouble() / 1024.0;
    }
    QList<std::pair<double, QString>> sorted;
    for (auto it = byName.cbegin(); it != byName.cend(); ++it)
        sorted.append({it.value(), it.key()});
    std::sort(sorted.rbegin(), sorted.rend());
    for (const auto& [megabytes, mapping] : sorted.first(std::min<qsizetype>(8, sorted.size())))
        std::printf("        %6.1f MiB %s\n", megabytes, qPrintable(mapping));
}

// Where the memory is: each process of the tree by its kind, its PSS in MiB.
void PrintProcesses(qint64 except) {
    for (const qint64 pid : ProcessTree(QCoreApplication::applicationPid())) {
        if (pid == except)
            continue;
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
        // The engine's renderers are forked from its zygote and keep its command line.
        QString kind = QStringLiteral("client");
        if (commandLine.open(QIODevice::ReadOnly)) {
            for (const QByteArray& argument : commandLine.readAll().split('\0')) {
                if (argument.startsWith("--type="))
                    kind = QString::fromLatin1(argument.mid(7));
            }
        }
        std::printf("    %-20s %6.0f MiB\n", qPrintable(kind),
                    ProcessMegabytes(pid, "smaps_rollup", "Pss:"));
        if (std::getenv("BENCH_MAPPINGS") != nullptr)
            PrintLargestMappings(pid);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    LoadQtTranslations();
    DetectLanguage();

    TBenchVerdict verdict;
    // The catalogue and the program folder are the benchmark's, not the client's start: their
    // time is taken out of the start's figures.
    QElapsedTimer setUpClock;
    setUpClock.start();
    TBenchCatalogue catalogue;
    const QString host = catalogue.Host();
    QTemporaryDir folder;
    if (!verdict.Require(!host.isEmpty(), "the demo catalogue did not start") ||
        !verdict.Require(UseProgramFolderCopy(folder), "the program folder could not be made"))
        return verdict.ExitStatus();
    const double setUp = setUpClock.nsecsElapsed() / 1e9;

    TUiDispatcher dispatcher;
    TfrmMain window;
    bool gameListComplete = false;
    QObject::connect(window.WB_GameList->page(), &QWebEnginePage::loadFinished,
                     [&gameListComplete](bool ok) { gameListComplete = gameListComplete || ok; });
    window.show();
    if (!verdict.Require(
            PumpUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); },
                      30000),
            "the main window was not shown"))
        return verdict.ExitStatus();
    const double shown = SecondsSinceProcessStart() - setUp;
    if (!verdict.Require(PumpUntil([&] { return gameListComplete; }, 30000),
                         "the game list's page did not complete"))
        return verdict.ExitStatus();
    const double listed = SecondsSinceProcessStart() - setUp;
    if (!verdict.Require(shown > 0 && listed > 0, "the process's start time could not be read"))
        return verdict.ExitStatus();

    const double idle = SettledTreePss(catalogue.ProcessId());
    bool cancel = false;
    window.WB_GameListBeforeNavigate2(
        window.WB_GameList, QStringLiteral("http://%1/GAMESOFT/GAMEINFO.ASP?ID=1001").arg(host),
        cancel);
    if (!verdict.Require(PumpUntil([&] { return !window.swfPlay->Movie().isEmpty(); }, 30000) &&
                             PlayerHasLoaded(*window.swfPlay, window.swfPlay->Movie(), 30000),
                         "the game did not load"))
        return verdict.ExitStatus();
    Settle(3000);
    const double withGame = SettledTreePss(catalogue.ProcessId());
    PrintProcesses(catalogue.ProcessId());

    verdict.Figure("the benchmark's own set-up, left out", setUp, "s", 2);
    verdict.Target("process start to main window shown", shown, "s", TBenchVerdict::TAim::AtMost,
                   0.8, 2);
    verdict.Target("process start to the game list's page complete", listed, "s",
                   TBenchVerdict::TAim::AtMost, 1.5, 2);
    verdict.Figure("PSS of the process tree, idle", idle, "MiB", 0);
    verdict.Target("PSS of the process tree, one game playing", withGame, "MiB",
                   TBenchVerdict::TAim::AtMost, 350, 0);
    return verdict.ExitStatus();
}
