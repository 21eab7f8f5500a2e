// Measures the local games page over libraries of 1,000, 10,000 and 100,000 stored games with
// real JPEG, GIF and PNG thumbnails, and prints each figure beside its target: the first screen
// painted with its thumbnails (median of three visits, each with a fresh view, so nothing is
// decoded before), the longest the UI thread went without its event loop while a list came in
// and while the grid scrolled from top to bottom a screen at a time, a search keystroke (filter
// and paint, the worst of several), and the resident memory the page added over a session of
// visits, a scroll to the end and a search, in a process of its own. The picture files are in
// the system's file cache throughout.
//
//   bench_library_view [games...]             (default: 1000 10000 100000)
//   bench_library_view --store FOLDER GAMES   (makes a library, in a child process)
//   bench_library_view --memory FOLDER        (the session whose memory is measured)
#include "common/program_folder.h"
#include "library/game_grid.h"
#include "library/library_connection.h"
#include "library/local_games_view.h"
#include "library/search_field.h"
#include "stored_library.h"
#include "support/bench_verdict.h"
#include "support/event_wait.h"
#include "support/process_tree.h"
#include "ui_stalls.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QProcess>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 3;
// Longer than any list or scroll here takes: past it, it is taken for one that hangs.
constexpr int kDeadlineMs = 300000;

double ResidentMegabytes(const char* field) {
    return ProcessMegabytes(QCoreApplication::applicationPid(), "status", field);
}

// The page as the main window holds it: the search field above four grids in tabs.
class TPage {
public:
    TPage() {
        auto* column = new QVBoxLayout(&FWindow);
        Search = new TSearchField(QStringLiteral("edtSearchGames"));
        auto* tabs = new QTabWidget;
        for (size_t page = 0; page < Grids.size(); ++page) {
            Grids[page] = new TGameGrid(QStringLiteral("grid%1").arg(page));
            tabs->addTab(Grids[page], QString::number(page));
        }
        column->addWidget(Search);
        column->addWidget(tabs);
        FWindow.resize(800, 900);
        FWindow.show();
        QApplication::processEvents();
    }

    std::unique_ptr<TLocalGamesView> NewView(const QString& folder) {
        auto view = std::make_unique<TLocalGamesView>(
            TLocalGamesView::TGrids{Grids[0], Grids[1], Grids[2], Grids[3]}, LibraryDatabasePath(),
            folder, [](const QString&) {},
            [this](const QString& failure) {
                std::fprintf(stderr, "the list failed: %s\n", qPrintable(failure));
                ListFailed = true;
            });
        QObject::connect(Search, &QLineEdit::textChanged, view.get(),
                         &TLocalGamesView::SetSearchText);
        return view;
    }

    TSearchField* Search = nullptr;
    std::array<TGameGrid*, kLibraryPages> Grids{};
    bool ListFailed = false;

private:
    QWidget FWindow;
};

struct TVisit {
    double FirstScreenMs = 0;
    double WholeListMs = 0;
    double LongestBlockMs = 0;
    bool Done = false; // the screen and the list both came in time
};

// From LoadLocalGames to the first screen of the new list painted with its pictures, and to the
// whole list with its details.
TVisit Visit(TLocalGamesView& view, TGameGrid* grid) {
    TVisit visit;
    QEventLoop loop;
    QElapsedTimer clock;
    bool reset = false;
    bool screen = false;
    bool list = false;
    const auto quitWhenDone = [&] {
        if (screen && list)
            loop.quit();
    };
    const QList<QMetaObject::Connection> connections{
        QObject::connect(&view.Model(), &QAbstractItemModel::modelReset, [&] { reset = true; }),
        QObject::connect(grid, &TGameGrid::ScreenCompleted,
                         [&] {
                             if (reset && !screen) {
                                 screen = true;
                                 visit.FirstScreenMs = clock.nsecsElapsed() / 1e6;
                                 quitWhenDone();
                             }
                         }),
        QObject::connect(&view, &TLocalGamesView::ListShown, [&] {
            list = true;
            visit.WholeListMs = clock.nsecsElapsed() / 1e6;
            quitWhenDone();
        })};
    TUiStalls stalls;
    stalls.Start();
    clock.start();
    view.LoadLocalGames(0);
    visit.Done = ExecWithin(loop, kDeadlineMs);
    visit.LongestBlockMs = stalls.Stop();
    for (const QMetaObject::Connection& connection : connections)
        QObject::disconnect(connection);
    return visit;
}

struct TScroll {
    double LongestBlockMs = 0;
    double WholeMs = 0;
    bool Done = false; // the last screen was painted in time
};

// A screen further at every turn of the event loop, as a dragged scroll bar goes, until the
// last screen is painted with its pictures. The longest block, and the time it all took.
TScroll ScrollToTheEnd(TGameGrid* grid) {
    QScrollBar* bar = grid->verticalScrollBar();
    bar->setValue(0);
    QEventLoop loop;
    QTimer stepper;
    QObject::connect(&stepper, &QTimer::timeout, [&] {
        if (bar->value() < bar->maximum())
            bar->setValue(bar->value() + bar->pageStep());
        else if (grid->ScreenComplete())
            loop.quit();
    });
    TUiStalls stalls;
    QElapsedTimer clock;
    clock.start();
    stalls.Start();
    stepper.start(0);
    const bool done = ExecWithin(loop, kDeadlineMs);
    return {stalls.Stop(), clock.nsecsElapsed() / 1e6, done};
}

// Each keystroke's filter and the paint of its first screen, the worst of them. Chinese comes
// from the input method as whole characters.
double WorstKeystrokeMs(TSearchField* search, TGameGrid* grid) {
    double worst = 0;
    const auto time = [&](const std::function<void()>& keystroke) {
        QElapsedTimer clock;
        clock.start();
        keystroke();
        grid->repaint();
        worst = std::max(worst, clock.nsecsElapsed() / 1e6);
    };
    const auto press = [&](Qt::Key key, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(search, &event);
    };
    search->setFocus();
    for (const char* letter : {"p", "a", "o", " ", "p", "a", "o", " ", "l"})
        time([&] {
            press(Qt::Key(QChar(QLatin1Char(*letter)).toUpper().unicode()), QLatin1String(letter));
        });
    time([&] { press(Qt::Key_Escape, QString()); });
    for (const QString& character :
         {QStringLiteral("泡"), QStringLiteral("泡"), QStringLiteral("龙")})
        time([&] { search->insert(character); });
    time([&] { press(Qt::Key_Escape, QString()); });
    return worst;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A user's session with the page: three visits, a scroll to the end and a search. Prints the
// resident memory it added, then and at its peak.
int MeasureMemory(const QString& folder) {
    SetProgramFolderForTesting(folder);
    TPage page;
    const double baselineMb = ResidentMegabytes("VmRSS:");
    const auto view = page.NewView(folder);
    for (int visit = 0; visit < kRounds; ++visit)
        Visit(*view, page.Grids[0]);
    ScrollToTheEnd(page.Grids[0]);
    WorstKeystrokeMs(page.Search, page.Grids[0]);
    std::printf("%.1f %.1f\n", ResidentMegabytes("VmRSS:") - baselineMb,
                ResidentMegabytes("VmHWM:") - baselineMb);
    return 0;
}

// The memory session's figures: added, and added at its peak, in megabytes; none when the
// session failed.
std::optional<std::pair<double, double>> MemoryOfASession(const QString& program,
                                                          const QString& folder) {
    QProcess session;
    session.start(program, {QStringLiteral("--memory"), folder});
    const bool ended = session.waitForFinished(kDeadlineMs);
    const QList<QByteArray> figures = session.readAllStandardOutput().trimmed().split(' ');
    if (!ended || session.exitStatus() != QProcess::NormalExit || session.exitCode() != 0 ||
        figures.size() != 2)
        return std::nullopt;
    return std::pair{figures[0].toDouble(), figures[1].toDouble()};
}

// The figures at this size; the first screen's time, for the comparison of sizes, or none when
// something measured did not happen.
std::optional<double> Measure(const QString& program, int games, TBenchVerdict& verdict) {
    QTemporaryDir root;
    const QString folder = root.path() + QStringLiteral("/program/");
    if (!verdict.Require(QProcess::execute(program, {QStringLiteral("--store"), folder,
                                                     QString::number(games)}) == 0,
                         "the library of " + std::to_string(games) + " games could not be made"))
        return std::nullopt;
    SetProgramFolderForTesting(folder);
    TPage page;
    const std::string size = std::to_string(games) + " games: ";
    const auto came = [&](const TVisit& visit) {
        return verdict.Require(visit.Done && !page.ListFailed, size + "a list did not come");
    };

    // A library stored by an older client gets the pinyin of its names at its first visit.
    const TVisit firstUse = Visit(*page.NewView(folder), page.Grids[0]);
    if (!came(firstUse))
        return std::nullopt;
    std::vector<double> screens;
    std::vector<double> lists;
    double longestBuild = 0;
    std::unique_ptr<TLocalGamesView> view;
    for (int round = 0; round < kRounds; ++round) {
        view = page.NewView(folder);
        const TVisit visit = Visit(*view, page.Grids[0]);
        if (!came(visit))
            return std::nullopt;
        screens.push_back(visit.FirstScreenMs);
        lists.push_back(visit.WholeListMs);
        longestBuild = std::max(longestBuild, visit.LongestBlockMs);
    }
    std::vector<double> revisits;
    for (int round = 0; round < kRounds; ++round) {
        const TVisit revisit = Visit(*view, page.Grids[0]);
        if (!came(revisit))
            return std::nullopt;
        revisits.push_back(revisit.FirstScreenMs);
        longestBuild = std::max(longestBuild, revisit.LongestBlockMs);
    }
    const int shown = view->Model().rowCount();
    const TScroll scroll = ScrollToTheEnd(page.Grids[0]);
    const double keystrokeMs = WorstKeystrokeMs(page.Search, page.Grids[0]);
    const auto memory = MemoryOfASession(program, folder);
    view.reset();
    SetProgramFolderForTesting(QString());
    if (!verdict.Require(shown == games, size + std::to_string(shown) + " shown") ||
        !verdict.Require(scroll.Done, size + "the scroll did not reach the end") ||
        !verdict.Require(memory.has_value(), size + "the memory session failed"))
        return std::nullopt;

    const double firstScreen = Median(screens);
    std::printf("%7d games\n", games);
    using enum TBenchVerdict::TAim;
    verdict.Target("  first screen painted with its thumbnails", firstScreen, "ms", AtMost, 150);
    verdict.Figure("  again, its thumbnails decoded before", Median(revisits), "ms");
    verdict.Figure("  whole list with pinyin and plays (off the UI thread)", Median(lists), "ms");
    verdict.Target("  longest UI-thread block while building", longestBuild, "ms", AtMost, 50);
    verdict.Target("  longest UI-thread block while scrolling", scroll.LongestBlockMs, "ms", AtMost,
                   50);
    verdict.Figure("  top to bottom a screen a turn", scroll.WholeMs, "ms", 0);
    verdict.Target("  search keystroke, filter and paint, worst of 14", keystrokeMs, "ms", AtMost,
                   50);
    verdict.Target("  resident memory added by the page", memory->first, "MB", AtMost, 150);
    verdict.Figure("  resident memory added by the page, at its peak", memory->second, "MB");
    verdict.Figure("  first visit after an older client: whole list", firstUse.WholeListMs, "ms",
                   0);
    return firstScreen;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 4 && QByteArray(argv[1]) == "--store") {
        QCoreApplication application(argc, argv);
        return StoreLibrary(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt()) ? 0 : 1;
    }
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--memory")
        return MeasureMemory(QString::fromLocal8Bit(argv[2]));
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QByteArray(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = {1000, 10000, 100000};
    TBenchVerdict verdict;
    QList<double> firstScreens;
    for (int games : sizes) {
        const std::optional<double> firstScreen =
            Measure(QCoreApplication::applicationFilePath(), games, verdict);
        if (!firstScreen)
            return verdict.ExitStatus();
        firstScreens.append(*firstScreen);
    }
    if (sizes.size() > 1)
        verdict.Target("first screen at " + std::to_string(sizes.last()) + " games against " +
                           std::to_string(sizes.first()),
                       firstScreens.last() / firstScreens.first(), "x", TBenchVerdict::TAim::AtMost,
                       2, 2);
    return verdict.ExitStatus();
}
