#pragma once

#include "catalogue_site.h"
#include "collection_catalogue.h"

#include <atomic>
#include <filesystem>
#include <httplib.h>
#include <thread>

// The demo catalogue on 127.0.0.1: HTTP/1.1 in front of CatalogueSite, with fault switches
// and a request in proxy form (absolute address) served as if it had come directly.
class CatalogueServer {
public:
    explicit CatalogueServer(std::filesystem::path dataDir = {},
                             FaultGames faultGames = FaultGames::Excluded);
    // Serves a collection's games instead of the demo's.
    CatalogueServer(Collection collection, std::filesystem::path dataDir);
    ~CatalogueServer();

    // Binds 127.0.0.1:port, 0 for any free port; returns the bound port. Throws when taken.
    int bind(int port);
    // Serves on a thread of its own; returns once connections are being accepted.
    void start();
    // Stops serving and waits for the serving thread; does nothing when not started.
    void stop();

    const Catalogue& catalogue() const { return site_.catalogue(); }

private:
    void configure();
    void handle(const httplib::Request& request, httplib::Response& response);

    CatalogueSite site_;
    httplib::Server server_;
    int port_ = 0;
    std::thread serving_;
    std::atomic<bool> listenEnded_ = false;
};
