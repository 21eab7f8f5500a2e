// Measures how the memory of the whole client grows as games are played one after another:
// the proportional set size (PSS) of the process tree after the first game against after the
// twentieth, twenty different games, each played from disk for a few seconds.
//
//   bench_player_memory [games=20] [seconds-per-game=3]
//
// Run it on an X display; it starts its own demo catalogue for the panes.
#include "platform/flash_player.h"
#include "platform/ui_dispatcher.h"
#include "shell/main_window.h"
#include "support/bench_program_folder.h"
#include "support/bench_setup.h"
#include "support/settled_memory.h"
#include "swf_games.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>

namespace {

// The Index-th game: the catalogue's kinds in turn, in their own colours first, then with
// background and figure swapped, so that every game is a movie of its own.
swf::Bytes DifferentGame(int index) {
    const auto kind = swf::kAllGameKinds[size_t(index) % swf::kAllGameKinds.size()];
    swf::GamePalette palette = swf::paletteOf(kind);
    if (index / int(swf::kAllGameKinds.size()) % 2 == 1)
        std::swap(palette.background, palette.main);
    return swf::makeGame(kind, palette);
}

bool WriteGame(const QString& path, const swf::Bytes& movie) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(movie.data()), qint64(movie.size())) ==
               qint64(movie.size());
}

// Plays the game from disk through the player's entry and waits until it is showing.
void Play(TfrmMain& window, const QString& name) {
    bool shown = false;
    const auto connection =
        QObject::connect(window.swfPlay, &TFlashPlayer::MovieLoaded, [&shown] { shown = true; });
    TGameInfo game;
    game.id = name;
    game.flashname = name;
    window.PlayGame(game);
    QElapsedTimer clock;
    clock.start();
    while (!shown && clock.elapsed() < 30000)
        Settle(10);
    QObject::disconnect(connection);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const int games = CountArgument(argc, argv, 1, 20);
    const int secondsPerGame = CountArgument(argc, argv, 2, 3);

    QProcess catalogue;
    const QString host = StartBenchCatalogue(catalogue);
    if (host.isEmpty())
        return 1;

    QTemporaryDir folder;
    if (!UseProgramFolderCopy(folder))
        return 1;
    TUiDispatcher dispatcher;
    TfrmMain window;
    window.show();
    Settle(3000);
    for (int i = 0; i < games; ++i) {
        if (!WriteGame(folder.filePath(QStringLiteral("flash/game%1.swf").arg(i)),
                       DifferentGame(i)))
            return 1;
    }

    double afterFirst = 0;
    double afterLast = 0;
    for (int i = 0; i < games; ++i) {
        Play(window, QStringLiteral("game%1").arg(i));
        Settle(secondsPerGame * 1000);
        const double pss = i == 0 || i == games - 1 ? SettledTreePss(catalogue.processId())
                                                    : TreePss(catalogue.processId());
        (i == 0 ? afterFirst : afterLast) = pss;
        const double client =
            ProcessMegabytes(QCoreApplication::applicationPid(), "smaps_rollup", "Pss:");
        std::printf("after game %2d: PSS of the process tree %.0f MiB (client %.0f, engine "
                    "processes %.0f)\n",
                    i + 1, pss, client, pss - client);
        std::fflush(stdout);
    }
    std::printf("PSS growth from the first game to game %d: %.0f MiB -> %.0f MiB, %+.0f MiB "
                "(target <= 60 MiB)\n",
                games, afterFirst, afterLast, afterLast - afterFirst);
    catalogue.terminate();
    catalogue.waitForFinished();
    return 0;
}
