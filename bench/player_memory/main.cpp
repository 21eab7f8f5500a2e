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
#include "support/bench_verdict.h"
#include "support/player_loaded.h"
#include "support/settled_memory.h"
#include "swf_games.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
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

// Plays the game from disk through the player's entry; true once the player says it is in.
bool Play(TfrmMain& window, const QString& name) {
    TGameInfo game;
    game.id = name;
    game.flashname = name;
    window.PlayGame(game);
    return PlayerHasLoaded(
        *window.swfPlay,
        window.ProgramFolder() + QStringLiteral("flash/") + name + QStringLiteral(".swf"), 30000);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const int games = CountArgument(argc, argv, 1, 20);
    const int secondsPerGame = CountArgument(argc, argv, 2, 3);

    TBenchVerdict verdict;
    if (!verdict.Require(games >= 2, "growth needs two games at least"))
        return verdict.ExitStatus();
    TBenchCatalogue catalogue;
    const QString host = catalogue.Host();
    QTemporaryDir folder;
    if (!verdict.Require(!host.isEmpty(), "the demo catalogue did not start") ||
        !verdict.Require(UseProgramFolderCopy(folder), "the program folder could not be made"))
        return verdict.ExitStatus();
    TUiDispatcher dispatcher;
    TfrmMain window;
    window.show();
    Settle(3000);
    for (int i = 0; i < games; ++i) {
        if (!verdict.Require(WriteGame(folder.filePath(QStringLiteral("flash/game%1.swf").arg(i)),
                                       DifferentGame(i)),
                             "the games could not be written"))
            return verdict.ExitStatus();
    }

    double afterFirst = 0;
    double afterLast = 0;
    for (int i = 0; i < games; ++i) {
        const QString name = QStringLiteral("game%1").arg(i);
        if (!verdict.Require(Play(window, name), name.toStdString() + " did not load"))
            return verdict.ExitStatus();
        Settle(secondsPerGame * 1000);
        const double pss = i == 0 || i == games - 1 ? SettledTreePss(catalogue.ProcessId())
                                                    : TreePss(catalogue.ProcessId());
        if (i == 0)
            afterFirst = pss;
        afterLast = pss;
        const double client =
            ProcessMegabytes(QCoreApplication::applicationPid(), "smaps_rollup", "Pss:");
        std::printf("after game %2d: PSS of the process tree %.0f MiB (client %.0f, engine "
                    "processes %.0f)\n",
                    i + 1, pss, client, pss - client);
        std::fflush(stdout);
    }
    verdict.Figure("PSS of the process tree after the first game", afterFirst, "MiB", 0);
    verdict.Target("PSS growth from the first game to game " + std::to_string(games),
                   afterLast - afterFirst, "MiB", TBenchVerdict::TAim::AtMost, 60, 0);
    return verdict.ExitStatus();
}
