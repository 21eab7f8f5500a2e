// Builds the "all games" grid of a library of 1,000 and of 10,000 stored games with real JPEG,
// GIF and PNG thumbnails, and prints the first build (nothing decoded yet), a rebuild (the
// thumbnails decoded before) and the longest stretch the UI thread went without its event loop.
// Each is the median of three rounds, each round with a fresh view; the longest block is the
// worst of all rounds. Picture files are in the system's file cache throughout.
//
//   bench_library_view [games...]   (default: 1000 10000)
#include "common/common_method.h"
#include "common/program_folder.h"
#include "image_encoders.h"
#include "library/flash_statements.h"
#include "library/library_connection.h"
#include "library/local_games_view.h"
#include "thumbnail.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr int kRounds = 3;

struct TBuildTimes {
    double TotalMs = 0;
    double CpuMs = 0; // of the UI thread alone, so that other programs on the machine show less
    double LongestBlockMs = 0;
};

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The median round's times, with the longest block seen in any round.
TBuildTimes Summary(std::vector<TBuildTimes> rounds) {
    std::sort(rounds.begin(), rounds.end(),
              [](const auto& a, const auto& b) { return a.TotalMs < b.TotalMs; });
    TBuildTimes summary = rounds[rounds.size() / 2];
    for (const TBuildTimes& round : rounds)
        summary.LongestBlockMs = std::max(summary.LongestBlockMs, round.LongestBlockMs);
    return summary;
}

constexpr std::array<std::pair<PictureFormat, const char*>, 3> kFormats{
    {{PictureFormat::Jpeg, "jpg"}, {PictureFormat::Gif, "gif"}, {PictureFormat::Png, "png"}}};

void StoreLibrary(const QString& folder, int games) {
    QDir().mkpath(folder + QStringLiteral("pic"));
    SetProgramFolderForTesting(folder);
    QString errorText;
    TCommonMethod::CreateDatabase(errorText);
    TLibraryConnection connection(LibraryDatabasePath());
    QSqlDatabase database = connection.Database();
    database.transaction();
    const QDateTime first = QDateTime::currentDateTime().addDays(-30);
    for (int i = 0; i < games; ++i) {
        const auto& [format, extension] = kFormats[size_t(i) % kFormats.size()];
        const QString name = QStringLiteral("game %1").arg(i);
        const QString picName = QStringLiteral("g%1.%2").arg(i).arg(QLatin1String(extension));
        const swf::GameKind kind = swf::kAllGameKinds[size_t(i) % swf::kAllGameKinds.size()];
        QFile file(folder + QStringLiteral("pic/") + picName);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray::fromStdString(
            encodePicture(drawThumbnail(swf::paletteOf(kind), name.toStdString()), format)));
        InsertGame(database, {{"id", QString::number(i)},
                              {"flashname", name},
                              {"flashurl", "http://h.example/a.swf"},
                              {"nclass", ""},
                              {"classid", ""},
                              {"classname", ""},
                              {"picUrl", "http://h.example/" + picName},
                              {"picName", picName},
                              {"body", ""},
                              {"fDate", first.addSecs(i)}});
    }
    database.commit();
}

// Starts the build from the event loop and runs the loop until the last cell is in place,
// noting the longest gap between two turns of a timer that fires at every turn.
TBuildTimes TimeBuild(TLocalGamesView& view) {
    QEventLoop loop;
    QElapsedTimer total;
    QElapsedTimer sinceTick;
    double longest = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    const auto finished = QObject::connect(&view, &TLocalGamesView::BuildFinished, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
        loop.quit();
    });
    double cpuAtStart = 0;
    QTimer::singleShot(0, [&] {
        total.start();
        cpuAtStart = ThreadCpuMs();
        view.LoadLocalGames(0);
    });
    sinceTick.start();
    ticker.start(0);
    loop.exec();
    const TBuildTimes times{total.nsecsElapsed() / 1e6, ThreadCpuMs() - cpuAtStart, longest};
    QObject::disconnect(finished);
    return times;
}

void Measure(int games) {
    QTemporaryDir root;
    const QString folder = root.path() + QStringLiteral("/program/");
    StoreLibrary(folder, games);
    TLibraryConnection connection(LibraryDatabasePath());

    QWidget window;
    auto* column = new QVBoxLayout(&window);
    std::array<QScrollArea*, 3> areas{};
    for (QScrollArea*& area : areas) {
        area = new QScrollArea;
        area->setWidget(new QWidget);
        column->addWidget(area);
    }
    window.resize(800, 900);
    window.show();
    QApplication::processEvents();

    std::vector<TBuildTimes> colds;
    std::vector<TBuildTimes> warms;
    qsizetype shown = 0;
    for (int round = 0; round < kRounds; ++round) {
        TLocalGamesView view(
            areas[0], areas[1], areas[2], [&] { return connection.Database(); }, folder,
            [](QObject*) {});
        colds.push_back(TimeBuild(view));
        warms.push_back(TimeBuild(view));
        shown = view.Thumbnails().size();
    }
    const TBuildTimes cold = Summary(colds);
    const TBuildTimes warm = Summary(warms);
    std::printf("%6d games, %lld shown | first build %7.1f ms (UI thread cpu %7.1f ms) | "
                "rebuild %7.1f ms (cpu %7.1f ms) | rebuild %.1fx faster | longest block: first "
                "%5.1f ms, rebuild %5.1f ms\n",
                games, qlonglong(shown), cold.TotalMs, cold.CpuMs, warm.TotalMs, warm.CpuMs,
                cold.TotalMs / warm.TotalMs, cold.LongestBlockMs, warm.LongestBlockMs);
    std::fflush(stdout);
    SetProgramFolderForTesting(QString());
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QByteArray(argv[i]).toInt());
    for (int games : sizes.isEmpty() ? QList<int>{1000, 10000} : sizes)
        Measure(games);
    return 0;
}
