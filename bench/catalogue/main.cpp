// Measures the catalogue over a collection folder on loopback: game records and pages per
// second, and the aggregate download rate of 50 clients at once, against 50 curl processes
// fetching the same files as the baseline.
//
//   bench_catalogue [games=2000] [seconds=3]
//
// Makes its collection in a temporary folder: our generated movies, and copies of a real game
// of tests/data for the downloads.
#include "catalogue_server.h"
#include "swf_games.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
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

fs::path makeCollection(int games) {
    const fs::path root = fs::temp_directory_path() / ("pebblo-bench-" + std::to_string(getpid()));
    for (int i = 0; i < games; ++i) {
        const auto kind = swf::kAllGameKinds[size_t(i) % swf::kAllGameKinds.size()];
        if (kind == swf::GameKind::StarField)
            continue; // megabytes each: the downloads have games of their own
        const swf::Bytes movie = swf::makeGame(kind);
        write(root / ("类别" + std::to_string(i % 12)) / ("游戏" + std::to_string(i) + ".swf"),
              {movie.begin(), movie.end()});
    }
    std::ifstream real(PEBBLO_SOURCE_DIR "/tests/data/games/flbox.swf", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(real), {}};
    for (int i = 0; i < kDownloadedGames; ++i)
        write(root / "下载" / ("real" + std::to_string(i) + ".swf"), bytes);
    return root;
}

// Runs `clients` threads, each calling work(client, round) until the time is up; returns the
// total of what work returned (requests or bytes) per second.
double perSecond(int clients, double seconds, const std::function<uint64_t(int, int)>& work) {
    std::atomic<uint64_t> total = 0;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c)
        threads.emplace_back([&, c] {
            for (int round = 0; Clock::now() < end; ++round)
                total += work(c, round);
        });
    for (std::thread& t : threads)
        t.join();
    return double(total) / std::chrono::duration<double>(Clock::now() - start).count();
}

uint64_t fetched(httplib::Client& client, const std::string& target, bool bytes) {
    const auto result = client.Get(target);
    if (!result || result->status != 200)
        return 0;
    return bytes ? result->body.size() : 1;
}

void report(const char* what, double value, const char* unit, double target) {
    std::printf("%-44s %10.1f %-6s (target >= %.0f) %s\n", what, value, unit, target,
                value >= target ? "met" : "NOT MET");
}

} // namespace

int main(int argc, char** argv) {
    const int games = argc > 1 ? std::stoi(argv[1]) : 2000;
    const double seconds = argc > 2 ? std::stod(argv[2]) : 3;
    const fs::path root = makeCollection(games);
    const auto scanStart = Clock::now();
    openCollection(root, {}, false);
    std::printf("first scan: %.2f s\n",
                std::chrono::duration<double>(Clock::now() - scanStart).count());
    const auto restart = Clock::now();
    Collection collection = openCollection(root, {}, false);
    const double again = std::chrono::duration<double>(Clock::now() - restart).count();
    std::printf("%-44s %10.2f %-6s (target <= %.2f, 2 s per 10000 games) %s\n",
                ("start again over " + std::to_string(collection.catalogue.games.size()) +
                 " unchanged games")
                    .c_str(),
                again, "s", 2.0 * games / 10000, again <= 2.0 * games / 10000 ? "met" : "NOT MET");
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
    report("game records, 8 clients",
           perSecond(kRequestClients, seconds,
                     [&](int c, int round) {
                         return fetched(*clients[size_t(c)], pick(records, c, round), false);
                     }),
           "req/s", 2000);
    report("pages (lists, tree, ranking, search), 8 clients",
           perSecond(kRequestClients, seconds,
                     [&](int c, int round) {
                         return fetched(*clients[size_t(c)], pick(pages, c, round), false);
                     }),
           "req/s", 200);
    const double ours = perSecond(kDownloadClients, seconds, [&](int c, int round) {
        return fetched(*clients[size_t(c)], pick(downloads, c, round), true);
    });
    report("downloads, 50 clients at once", ours / 1e6, "MB/s", 100);
    const std::string origin = "http://127.0.0.1:" + std::to_string(port);
    // Each curl process fetches a batch over one connection, so that starting processes does
    // not stand in for the transfer.
    const double curl = perSecond(kDownloadClients, seconds, [&](int c, int round) {
        std::string command = "curl -s -w '%{size_download}\\n'";
        for (int i = 0; i < kCurlBatch; ++i)
            command +=
                " -o /dev/null '" + origin + pick(downloads, c, round * kCurlBatch + i) + "'";
        FILE* pipe = popen(command.c_str(), "r");
        uint64_t total = 0;
        unsigned long long size = 0;
        while (pipe && std::fscanf(pipe, "%llu", &size) == 1)
            total += size;
        if (pipe)
            pclose(pipe);
        return total;
    });
    std::printf("%-44s %10.1f %-6s (baseline)\n", "downloads, 50 curl processes at once",
                curl / 1e6, "MB/s");
    report("downloads, our clients against curl, percent", 100 * ours / curl, "%", 80);
    server.stop();
    fs::remove_all(root);
    return 0;
}
