// pebblo-catalogue: the demo catalogue server on 127.0.0.1, or the export of its catalogue.
#include "catalogue_export.h"
#include "catalogue_server.h"
#include "export_layout.h"

#include <csignal>
#include <cstring>
#include <iostream>
#include <memory>
#include <pthread.h>
#include <string>

namespace {

struct Options {
    int port = 0;
    std::filesystem::path dataDir;
    FaultGames faultGames = FaultGames::Excluded;
    std::filesystem::path gamesDir;
    std::filesystem::path indexFile;
    bool rescan = false;
    ExportOptions exporting; // an export when its folder is given
};

[[noreturn]] void usage(int status) {
    (status == 0 ? std::cout : std::cerr)
        << "usage: pebblo-catalogue [--port N] [--data DIR] [--faults]\n"
           "                        [--games DIR [--index FILE] [--rescan]]\n"
           "                        [--export OUTDIR [--host HOST[:PORT]] [--search-via "
           "HOST:PORT]]\n"
           "  --port N    listen on 127.0.0.1:N; 0 (default) picks a free port\n"
           "  --data DIR  DIR/update.conf sets the upgrade offer, DIR/files/ holds its files,\n"
           "              DIR/update.key signs it\n"
           "  --faults    also list the test category, whose games fail on purpose\n"
           "  --games DIR serve the .swf files under DIR instead of the demo's games: each\n"
           "              folder is a category, DIR/games.csv (file,name,description,category)\n"
           "              names them; files that are no whole movie are listed and left out\n"
           "  --index FILE keep the index there (default DIR/.pebblo-index.sqlite)\n"
           "  --rescan    read every file again, not only new and changed ones\n"
           "  --export OUTDIR  write the catalogue as static files and an nginx site\n"
           "              (OUTDIR/nginx/pebblo-site.conf) that serves them, then end\n"
           "  --host HOST[:PORT]  where the export will be served; its pages link there\n"
           "              (default 127.0.0.1:8080)\n"
           "  --search-via HOST:PORT  a pebblo-catalogue over the same games that answers\n"
           "              searches; without it the export answers only the empty search\n"
           "Serving, the bound port is printed on the first line of standard output.\n";
    std::exit(status);
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help")
            usage(0);
        if (argument == "--faults") {
            options.faultGames = FaultGames::Included;
            continue;
        }
        if (argument == "--rescan") {
            options.rescan = true;
            continue;
        }
        if (i + 1 >= argc)
            usage(2);
        if (argument == "--port") {
            try {
                options.port = std::stoi(argv[++i]);
            } catch (const std::exception&) {
                usage(2);
            }
        } else if (argument == "--data") {
            options.dataDir = argv[++i];
        } else if (argument == "--games") {
            options.gamesDir = argv[++i];
        } else if (argument == "--index") {
            options.indexFile = argv[++i];
        } else if (argument == "--export") {
            options.exporting.outDir = argv[++i];
        } else if (argument == "--host") {
            options.exporting.host = argv[++i];
        } else if (argument == "--search-via") {
            options.exporting.searchUpstream = argv[++i];
        } else {
            usage(2);
        }
    }
    // Games that fail on purpose cannot be served by a plain web server.
    if (!options.exporting.outDir.empty() && options.faultGames == FaultGames::Included)
        usage(2);
    options.exporting.gamesDir = options.gamesDir;
    return options;
}

// The collection's games, with what the scan left out named on standard error.
Collection scanCollection(const Options& options) {
    Collection collection = openCollection(options.gamesDir, options.indexFile, options.rescan);
    const ScanReport& report = collection.report;
    for (const auto& [path, why] : report.rejected)
        std::cerr << "pebblo-catalogue: left out " << path << ": " << why << "\n";
    std::cerr << "pebblo-catalogue: " << collection.catalogue.games.size() << " games ("
              << report.kept << " unchanged, " << report.read << " read, " << report.removed
              << " gone), " << report.rejected.size() << " left out\n";
    return collection;
}

std::unique_ptr<CatalogueServer> makeServer(const Options& options) {
    if (options.gamesDir.empty())
        return std::make_unique<CatalogueServer>(options.dataDir, options.faultGames);
    return std::make_unique<CatalogueServer>(scanCollection(options), options.dataDir);
}

void writeExport(const Options& options) {
    std::unique_ptr<CatalogueSite> site;
    if (options.gamesDir.empty()) {
        site = std::make_unique<CatalogueSite>(builtInCatalogue(FaultGames::Excluded));
    } else {
        Collection collection = scanCollection(options);
        site = std::make_unique<CatalogueSite>(
            std::move(collection.catalogue), std::filesystem::path(), std::move(collection.index));
    }
    const ExportReport report = exportCatalogue(*site, options.exporting);
    std::cout << "exported to " << options.exporting.outDir.string() << ": " << report.written
              << " files written, " << report.unchanged << " games unchanged, " << report.removed
              << " old files removed; nginx site: "
              << (options.exporting.outDir / export_layout::kSiteConfiguration).string()
              << std::endl;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    if (!options.exporting.outDir.empty()) {
        try {
            writeExport(options);
        } catch (const std::exception& error) {
            std::cerr << "pebblo-catalogue: " << error.what() << "\n";
            return 1;
        }
        return 0;
    }
    // Signals are taken by sigwait below, so every thread started later must block them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    try {
        const std::unique_ptr<CatalogueServer> server = makeServer(options);
        std::cout << server->bind(options.port) << std::endl;
        server->start();
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server->stop();
    } catch (const std::exception& error) {
        std::cerr << "pebblo-catalogue: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
