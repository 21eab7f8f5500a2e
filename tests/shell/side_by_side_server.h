#pragma once

#include <QString>
#include <condition_variable>
#include <httplib.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Game files on loopback, /game0.swf, /game1.swf and so on, whose replies wait for one another:
// each reply is held until every file has been asked for, ten seconds at most. Downloads that
// run one after the other still get their files, late, and the server remembers that they did.
class TSideBySideServer {
public:
    explicit TSideBySideServer(std::vector<std::string> bodies);
    ~TSideBySideServer();
    TSideBySideServer(const TSideBySideServer&) = delete;
    TSideBySideServer& operator=(const TSideBySideServer&) = delete;

    QString Url(size_t index) const;
    // True when every file was asked for before any reply had to give up waiting.
    bool AskedTogether();

private:
    void Serve(size_t index, httplib::Response& reply);

    std::vector<std::string> FBodies;
    std::vector<bool> FAsked;
    bool FWaitedInVain = false;
    std::mutex FLock;
    std::condition_variable FAskedChanged;
    httplib::Server FServer;
    int FPort = 0;
    std::thread FThread;
};
