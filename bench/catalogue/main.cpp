// Measures the catalogue over a collection folder on loopback: game records and pages per
// second, and the aggregate download rate of 50 clients at once, against 50 curl processes
// fetching the same files as the baseline.
//
//   bench_catalogue [games=2000] [seconds=3]
//
// Makes its collection in a temporary folder: our generated movies, and copies of a real game
// of tests/data for the downloads.
#include "catalogue_server.h"
#include "support/bench_verdict.h"
#include "swf_games.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kDownloadClients = 50;
constexpr int kRequestClients = 8;
constexpr int kDownloadedGames = 50;
constexpr int kCurlBatch = 20;

void write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

struct CollectionFolder {
    fs::path root;
    size_t movies = 0;
    size_t downloadBytes = 0; // of each game under "下载"
};

CollectionFolder makeCollection(int games) {
    CollectionFolder folder{fs::temp_directory_path() /
                            ("pebblo-bench-" + std::to_string(getpid()))};
    for (int i = 0; i < games; ++i) {
        const auto kind = swf::kAllGameKinds[size_t(i) % swf::kAllGameKinds.size()];
        if (kind == swf::GameKind::StarField)
            continue; // megabytes each: the downloads have games of their own
        const swf::Bytes movie = swf::makeGame(kind);
        write(folder.root / ("类别" + std::to_string(i % 12)) /
                  ("游戏" + std::to_string(i) + ".swf"),
              {movie.begin(), movie.end()});
        ++folder.movies;
    }
    std::ifstream real(PEBBLO_SOURCE_DIR "/tests/data/games/flbox.swf", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(real), {}};
    folder.downloadBytes = bytes.size();
    for (int i = 0; i < kDownloadedGames; ++i)
        write(folder.root / "下载" / ("real" + std::to_string(i) + ".swf"), bytes);
    folder.movies += kDownloadedGames;
    return folder;
}

// What `clients` threads did, each calling work(client, round) until the time was up: the total
// of what work returned (requests or bytes) per second, and how many of the calls failed.
struct Throughput {
    double perSecond = 0;
    uint64_t failures = 0;
};

Throughput perSecond(int clients, double seconds,
                     const std::function<std::optional<uint64_t>(int, int)>& work) {
    std::atomic<uint64_t> total = 0;
    std::atomic<uint64_t> failures = 0;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c)
        threads.emplace_back([&, c] {
            for (int round = 0; Clock::now() < end; ++round) {
                const std::optional<uint64_t> done = work(c, round);
                if (done)
                    total += *done;
                else
                    ++failures;
            }
        });
    for (std::thread& t : threads)
        t.join();
    return {double(total) / std::chrono::duration<double>(Clock::now() - start).count(), failures};
}

// One request, or its body's bytes; none when it failed.
std::optional<uint64_t> fetched(httplib::Client& client, const std::string& target, bool bytes) {
    const auto result = client.Get(target);
    if (!result || result->status != 200)
        return std::nullopt;
    return bytes ? result->body.size() : 1;
}

// A figure counts only when every call succeeded and some were made.
bool measured(TBenchVerdict& verdict, const Throughput& throughput, const std::string& what) {
    return verdict.Require(throughput.failures == 0 && throughput.perSecond > 0,
                           what + ": " + std::to_string(throughput.failures) + " calls failed");
}

} // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? std::stoi(argv[1]) : 2000;
    const double seconds = argc > 2 ? std::stod(argv[2]) : 3;
    TBenchVerdict verdict;
    const CollectionFolder folder = makeCollection(games);
    const auto scanStart = Clock::now();
    const size_t scanned = openCollection(folder.root, {}, false).catalogue.games.size();
    verdict.Figure("first scan", std::chrono::duration<double>(Clock::now() - scanStart).count(),
                   "s", 2);
    const auto restart = Clock::now();
    Collection collection = openCollection(folder.root, {}, false);
    const double again = std::chrono::duration<double>(Clock::now() - restart).count();
    if (!verdict.Require(scanned == folder.movies &&
                             collection.catalogue.games.size() == folder.movies,
                         "the scans found " + std::to_string(scanned) + " and " +
                             std::to_string(collection.catalogue.games.size()) + " of " +
                             std::to_string(folder.movies) + " games")) {
        fs::remove_all(folder.root);
        return verdict.ExitStatus();
    }
    verdict.Target("start again over " + std::to_string(folder.movies) +
                       " unchanged games (2 s per 10000)",
                   again, "s", TBenchVerdict::TAim::AtMost, 2.0 * games / 10000, 2);
    std::vector<std::string> records, pages, downloads;
    for (const Game& game : collection.catalogue.games) {
        records.push_back("/GAMESOFT/GAMEINFO.ASP?ID=" + game.id);
        if (game.swfFile.parent_path().filename() == "下载")
            downloads.push_back(game.swfPath);
    }
    for (const Category& category : collection.catalogue.categories)
        pages.push_back("/gamesoft/GameList.asp?classid=" + std::to_string(category.id) +
                        "&page=2");
    pages.insert(pages.end(),
                 {"/gamesoft/left.asp", "/gamesoft/GameTjList.asp", "/gamesoft/GamePhList.asp",
                  "/gamesoft/soft_search.asp?keyword=yx1"});
    CatalogueServer server(std::move(collection), {});
    const int port = server.bind(0);
    server.start();

    std::vector<std::unique_ptr<httplib::Client>> clients;
    for (int c = 0; c < kDownloadClients; ++c)
        clients.push_back(std::make_unique<httplib::Client>("127.0.0.1", port));
    auto pick = [](const std::vector<std::string>& list, int c, int round) {
        return list[size_t(c * 7919 + round) % list.size()];
    };
    const Throughput recordRate = perSecond(kRequestClients, seconds, [&](int c, int round) {
        return fetched(*clients[size_t(c)], pick(records, c, round), false);
    });
    const Throughput pageRate = perSecond(kRequestClients, seconds, [&](int c, int round) {
        return fetched(*clients[size_t(c)], pick(pages, c, round), false);
    });
    const Throughput ours = perSecond(kDownloadClients, seconds, [&](int c, int round) {
        return fetched(*clients[size_t(c)], pick(downloads, c, round), true);
    });
    const std::string origin = "http://127.0.0.1:" + std::to_string(port);
    // Each curl process fetches a batch over one connection, so that starting processes does
    // not stand in for the transfer. A batch counts only when curl got every file whole.
    const Throughput curl =
        perSecond(kDownloadClients, seconds, [&](int c, int round) -> std::optional<uint64_t> {
            std::string command = "curl -s -f -w '%{size_download}\\n'";
            for (int i = 0; i < kCurlBatch; ++i)
                command +=
                    " -o /dev/null '" + origin + pick(downloads, c, round * kCurlBatch + i) + "'";
            FILE* pipe = popen(command.c_str(), "r");
            if (!pipe)
                return std::nullopt;
            uint64_t total = 0;
            int whole = 0;
            unsigned long long size = 0;
            while (std::fscanf(pipe, "%llu", &size) == 1) {
                total += size;
                whole += size == folder.downloadBytes ? 1 : 0;
            }
            if (pclose(pipe) != 0 || whole != kCurlBatch)
                return std::nullopt;
            return total;
        });
    server.stop();
    fs::remove_all(folder.root);
    if (!measured(verdict, recordRate, "game records") || !measured(verdict, pageRate, "pages") ||
        !measured(verdict, ours, "downloads") || !measured(verdict, curl, "curl's downloads"))
        return verdict.ExitStatus();

    verdict.Target("game records, 8 clients", recordRate.perSecond, "req/s",
                   TBenchVerdict::TAim::AtLeast, 2000, 0);
    verdict.Target("pages (lists, tree, ranking, search), 8 clients", pageRate.perSecond, "req/s",
                   TBenchVerdict::TAim::AtLeast, 200, 0);
    verdict.Target("downloads, 50 clients at once", ours.perSecond / 1e6, "MB/s",
                   TBenchVerdict::TAim::AtLeast, 100, 0);
    verdict.Figure("downloads, 50 curl processes at once (baseline)", curl.perSecond / 1e6, "MB/s");
    verdict.Target("downloads, our clients against curl", 100 * ours.perSecond / curl.perSecond,
                   "%", TBenchVerdict::TAim::AtLeast, 80, 0);
    return verdict.ExitStatus();
}
