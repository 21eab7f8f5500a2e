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
#include "support/bench_verdict.h"
#include "support/curl_fetch.h"
#include "support/event_wait.h"
#include "support/player_loaded.h"
#include "support/process_tree.h"
#include "support/quiet_wait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The seconds curl took for the whole file; none when it failed.
std::optional<double> SecondsForCurl(const QString& host, int megabytes, const QString& target) {
    QElapsedTimer clock;
    clock.start();
    if (!CurlFetchesBlob(host, megabytes, target))
        return std::nullopt;
    return clock.nsecsElapsed() / 1e9;
}

// Waits until the folder's entries change so that Path exists, rather than looking every
// millisecond: that would take the CPU from the transfer being measured. Looks at the window's
// downloads ten times a second, so that a failed one does not keep it waiting until the
// deadline. True when the file came.
bool PumpUntilFileExists(const QString& path, const TfrmMain& window, int milliseconds) {
    QFileSystemWatcher watcher({QFileInfo(path).absolutePath()});
    QEventLoop loop;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, [&] {
        if (QFile::exists(path))
            loop.quit();
    });
    QTimer ended;
    QObject::connect(&ended, &QTimer::timeout, [&] {
        if (QFile::exists(path) || window.RunningDownloads() == 0)
            loop.quit();
    });
    ended.start(100);
    if (!QFile::exists(path))
        ExecWithin(loop, milliseconds);
    return QFile::exists(path);
}

// The seconds the worker took for the whole file; none when it failed or got less.
std::optional<double> SecondsForWorker(TfrmMain& window, const QString& url, const QString& name,
                                       int megabytes) {
    TGameInfo game;
    game.id = name;
    game.flashname = name;
    game.flashurl = url;
    const QString gamePath = window.ProgramFolder() + QStringLiteral("flash/") + name + ".swf";
    QElapsedTimer clock;
    clock.start();
    window.PlayGame(game);
    // The file takes its name the moment its transfer is complete.
    const bool came = PumpUntilFileExists(gamePath, window, TransferDeadlineMs(megabytes));
    const double seconds = clock.nsecsElapsed() / 1e9;
    const qint64 size = QFileInfo(gamePath).size();
    const bool ended = PumpUntil([&] { return window.RunningDownloads() == 0; }, 30000);
    window.swfPlay->SetMovie(QString());
    QFile::remove(gamePath);
    if (!came || size != BlobBytes(megabytes) || !ended) {
        const char* what = !ended  ? "did not end"
                           : !came ? "ended without the file"
                                   : "got a file of another size";
        std::fprintf(stderr, "the worker %s (%lld bytes)\n", what, static_cast<long long>(size));
        return std::nullopt;
    }
    if (!SettleUntilQuiet(30000)) {
        std::fprintf(stderr, "the client did not come to rest after the download\n");
        return std::nullopt;
    }
    return seconds;
}

// The seconds from the followed link to the player's word that the game is in; none when it
// did not come within half a minute, or the player does not say it has the game.
std::optional<double> SecondsToFirstFrame(TfrmMain& window, const QString& link) {
    bool shown = false;
    const auto connection =
        QObject::connect(window.swfPlay, &TFlashPlayer::MovieLoaded, [&shown] { shown = true; });
    QElapsedTimer clock;
    clock.start();
    bool cancel = false;
    window.WB_GameListBeforeNavigate2(window.WB_GameList, link, cancel);
    const bool came = PumpUntil([&] { return shown; }, 30000);
    const double seconds = clock.nsecsElapsed() / 1e9;
    QObject::disconnect(connection);
    if (!came || !PlayerHasLoaded(*window.swfPlay, window.swfPlay->Movie(), 10000))
        return std::nullopt;
    return seconds;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const int megabytes = CountArgument(argc, argv, 1, 200);
    const int rounds = CountArgument(argc, argv, 2, 7);

    TBenchVerdict verdict;
    TBenchCatalogue catalogue;
    const QString host = catalogue.Host();
    QTemporaryDir folder;
    if (!verdict.Require(!host.isEmpty(), "the demo catalogue did not start") ||
        !verdict.Require(UseProgramFolderCopy(folder), "the program folder could not be made") ||
        !verdict.Require(rounds >= 1, "no rounds asked for"))
        return verdict.ExitStatus();
    const QString blob = BlobUrl(host, megabytes);
    TUiDispatcher dispatcher;
    TfrmMain window;
    window.show();
    window.SelectPage(1);
    // The player compiles itself a little after the start, out of sight; the rounds begin once
    // that is over.
    Settle(3000);
    if (!verdict.Require(SettleUntilQuiet(60000),
                         "the client did not come to rest after its start"))
        return verdict.ExitStatus();

    std::vector<double> curlSeconds;
    std::vector<double> workerSeconds;
    for (int round = 0; round < rounds; ++round) {
        const std::optional<double> curl =
            SecondsForCurl(host, megabytes, folder.filePath(QStringLiteral("curl.out")));
        const std::optional<double> worker =
            SecondsForWorker(window, blob, QStringLiteral("bench%1").arg(round), megabytes);
        if (!verdict.Require(curl.has_value(), "curl's download failed") ||
            !verdict.Require(worker.has_value(), "the worker's download failed"))
            return verdict.ExitStatus();
        curlSeconds.push_back(*curl);
        workerSeconds.push_back(*worker);
        std::printf("round %d: curl %.3f s, worker %.3f s\n", round + 1, *curl, *worker);
    }
    const double curlRate = megabytes / Median(curlSeconds);
    const double workerRate = megabytes / Median(workerSeconds);
    std::printf("download of %d MiB, median of %d rounds:\n", megabytes, rounds);
    verdict.Figure("  curl", curlRate, "MiB/s");
    verdict.Figure("  worker", workerRate, "MiB/s");
    verdict.Target("  worker against curl", workerRate / curlRate, "", TBenchVerdict::TAim::AtLeast,
                   0.95, 2);

    // The 4 MB game has the target; the small one shows the part that does not grow with size.
    for (const char* id : {"1001", "1012"}) {
        const std::optional<double> seconds = SecondsToFirstFrame(
            window,
            QStringLiteral("http://%1/GAMESOFT/GAMEINFO.ASP?ID=%2").arg(host, QLatin1String(id)));
        if (!verdict.Require(seconds.has_value(), std::string("game ") + id + " did not load"))
            return verdict.ExitStatus();
        const std::string what = std::string("link to first frame, game ") + id + " (" +
                                 std::to_string(QFile(window.swfPlay->Movie()).size()) + " bytes)";
        if (QLatin1String(id) == QLatin1String("1012"))
            verdict.Target(what, *seconds, "s", TBenchVerdict::TAim::AtMost, 0.4, 3);
        else
            verdict.Figure(what, *seconds, "s", 3);
    }
    Settle(2000);
    verdict.Figure("resident memory of the process tree, one game playing",
                   TreeMegabytes(QCoreApplication::applicationPid(), "status", "VmRSS:"), "MiB", 0);
    return verdict.ExitStatus();
}
