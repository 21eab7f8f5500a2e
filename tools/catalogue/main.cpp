// pebblo-catalogue: the demo catalogue server on 127.0.0.1.
#include "catalogue_server.h"

#include <csignal>
#include <cstring>
#include <iostream>
#include <pthread.h>
#include <string>

namespace {

struct Options {
    int port = 0;
    std::filesystem::path dataDir;
    FaultGames faultGames = FaultGames::Excluded;
};

[[noreturn]] void usage(int status) {
    (status == 0 ? std::cout : std::cerr)
        << "usage: pebblo-catalogue [--port N] [--data DIR] [--faults]\n"
           "  --port N    listen on 127.0.0.1:N; 0 (default) picks a free port\n"
           "  --data DIR  DIR/update.conf sets the upgrade offer, DIR/files/ holds its files,\n"
           "              DIR/update.key signs it\n"
           "  --faults    also list the test category, whose games fail on purpose\n"
           "The bound port is printed on the first line of standard output.\n";
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
        } else {
            usage(2);
        }
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    // Signals are taken by sigwait below, so every thread started later must block them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    try {
        CatalogueServer server(options.dataDir, options.faultGames);
        std::cout << server.bind(options.port) << std::endl;
        server.start();
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    } catch (const std::exception& error) {
        std::cerr << "pebblo-catalogue: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
