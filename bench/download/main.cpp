// Measures the download worker against curl on the same loopback transfer, the time from a
// followed game link to the game's first frame, and the memory of the whole process tree.
//
//   bench_download [megabytes=200] [rounds=7]
//
// Run it on an X display (or QT_QPA_PLATFORM=offscreen); it starts its own demo catalogue.
#include "common/program_folder.h"
#include "platform/flash_player.h"
#include "platform/ui_dispatcher.h"
#include "shell/main_window.h"
#include "support/bench_program_folder.h"
#include "support/bench_setup.h"
#include "support/process_tree.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Runs the event loop, as the client does while it waits, until Condition holds; Condition is
// looked at every millisecond, so the loop stays idle in between.
void PumpUntil(const std::function<bool()>& condition) {
    if (condition())
        return;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (condition())
            loop.quit();
    });
    check.start(1);
    loop.exec();
}

void Settle(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    PumpUntil([&] { return clock.elapsed() >= milliseconds; });
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double SecondsForCurl(const QString& url, const QString& target) {
    QElapsedTimer clock;
    clock.start();
    QProcess::execute(QStringLiteral("curl"),
                      {QStringLiteral("-s"), QStringLiteral("-o"), target, url});
    const double seconds = clock.nsecsElapsed() / 1e9;
    QFile::remove(target);
    return seconds;
}

// Waits, without waking the UI thread in between, until the folder's entries change so that
// Path exists: polling would take the CPU from the transfer being measured.
void PumpUntilFileExists(const QString& path) {
    QFileSystemWatcher watcher({QFileInfo(path).absolutePath()});
    QEventLoop loop;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, [&] {
        if (QFile::exists(path))
            loop.quit();
    });
    if (!QFile::exists(path))
        loop.exec();
}

double SecondsForWorker(TfrmMain& window, const QString& url, const QString& name) {
    TGameInfo game;
    game.id = name;
    game.flashname = name;
    game.flashurl = url;
    const QString gamePath = window.ProgramFolder() + QStringLiteral("flash/") + name + ".swf";
    QElapsedTimer clock;
    clock.start();
    window.PlayGame(game);
    // The file takes its name the moment its transfer is complete.
    PumpUntilFileExists(gamePath);
    const double seconds = clock.nsecsElapsed() / 1e9;
    PumpUntil([&] { return window.RunningDownloads() == 0; });
    window.swfPlay->SetMovie(QString());
    QFile::remove(gamePath);
    Settle(1500);
    return seconds;
}

double SecondsToFirstFrame(TfrmMain& window, const QString& link) {
    bool shown = false;
    const auto connection =
        QObject::connect(window.swfPlay, &TFlashPlayer::MovieLoaded, [&shown] { shown = true; });
    QElapsedTimer clock;
    clock.start();
    bool cancel = false;
    window.WB_GameListBeforeNavigate2(window.WB_GameList, link, cancel);
    PumpUntil([&] { return shown; });
    QObject::disconnect(connection);
    return clock.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const int megabytes = CountArgument(argc, argv, 1, 200);
    const int rounds = CountArgument(argc, argv, 2, 7);

    QProcess catalogue;
    const QString host = StartBenchCatalogue(catalogue);
    if (host.isEmpty())
        return 1;
    const QString blob = QStringLiteral("http://%1/bench/blob?mb=%2").arg(host).arg(megabytes);

    QTemporaryDir folder;
    if (!UseProgramFolderCopy(folder))
        return 1;
    TUiDispatcher dispatcher;
    TfrmMain window;
    window.show();
    window.SelectPage(1);
    Settle(3000);

    std::vector<double> curlSeconds;
    std::vector<double> workerSeconds;
    for (int round = 0; round < rounds; ++round) {
        curlSeconds.push_back(SecondsForCurl(blob, folder.filePath(QStringLiteral("curl.out"))));
        workerSeconds.push_back(
            SecondsForWorker(window, blob, QStringLiteral("bench%1").arg(round)));
        std::printf("round %d: curl %.3f s, worker %.3f s\n", round + 1, curlSeconds.back(),
                    workerSeconds.back());
    }
    const double curlRate = megabytes / Median(curlSeconds);
    const double workerRate = megabytes / Median(workerSeconds);
    std::printf("download of %d MB, median of %d rounds: curl %.1f MB/s, worker %.1f MB/s, "
                "ratio %.2f (target >= 0.95)\n",
                megabytes, rounds, curlRate, workerRate, workerRate / curlRate);

    for (const char* id : {"1001", "1012"}) {
        const double seconds = SecondsToFirstFrame(
            window,
            QStringLiteral("http://%1/GAMESOFT/GAMEINFO.ASP?ID=%2").arg(host, QLatin1String(id)));
        QFile swf(window.swfPlay->Movie());
        std::printf("link to first frame, game %s (%lld bytes): %.3f s (target <= 0.400 s for the "
                    "4 MB game)\n",
                    id, static_cast<long long>(swf.size()), seconds);
    }
    Settle(2000);
    std::printf("resident memory of the process tree, seven panes and one game playing: %.0f MB\n",
                TreeMegabytes(QCoreApplication::applicationPid(), "status", "VmRSS:"));
    catalogue.terminate();
    catalogue.waitForFinished();
    return 0;
}
