#pragma once

#include <QString>
#include <atomic>
#include <condition_variable>
#include <httplib.h>
#include <mutex>
#include <string>
#include <thread>

// A real HTTP/1.1 server on 127.0.0.1 with the replies the client tests need.
class TLoopbackServer {
public:
    TLoopbackServer();
    ~TLoopbackServer();

    QString Url(const char* path) const;

    // Lets the held reply of /hold go; until then it waits (20 s at most).
    void ReleaseHeld();

    // What the last request sent: its target as the request line has it, its path decoded,
    // its version and two headers.
    std::string LastTarget, LastPath, LastVersion, LastAccept, LastUserAgent;
    std::atomic<int> OkRequests{0};

private:
    void AddRoutes();

    httplib::Server FServer;
    int FPort = 0;
    std::thread FThread;
    std::mutex FMutex;
    std::condition_variable FReleased;
    bool FHeldReleased = false;
};
