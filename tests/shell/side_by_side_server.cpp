#include "side_by_side_server.h"

#include <algorithm>
#include <chrono>

TSideBySideServer::TSideBySideServer(std::vector<std::string> bodies)
    : FBodies(std::move(bodies)), FAsked(FBodies.size(), false) {
    FServer.Get(R"(/game(\d+)\.swf)",
                [this](const httplib::Request& request, httplib::Response& reply) {
                    const size_t index = std::stoul(request.matches[1].str());
                    if (index < FBodies.size())
                        Serve(index, reply);
                    else
                        reply.status = 404;
                });
    FPort = FServer.bind_to_any_port("127.0.0.1");
    FThread = std::thread([this] { FServer.listen_after_bind(); });
    while (!FServer.is_running())
        std::this_thread::yield();
}

TSideBySideServer::~TSideBySideServer() {
    FServer.stop();
    FThread.join();
}

QString TSideBySideServer::Url(size_t index) const {
    return QStringLiteral("http://127.0.0.1:%1/game%2.swf").arg(FPort).arg(index);
}

bool TSideBySideServer::AskedTogether() {
    const std::lock_guard lock(FLock);
    return !FWaitedInVain && std::ranges::all_of(FAsked, [](bool asked) { return asked; });
}

void TSideBySideServer::Serve(size_t index, httplib::Response& reply) {
    {
        std::unique_lock lock(FLock);
        FAsked[index] = true;
        FAskedChanged.notify_all();
        const bool together = FAskedChanged.wait_for(lock, std::chrono::seconds(10), [this] {
            return std::ranges::all_of(FAsked, [](bool asked) { return asked; });
        });
        FWaitedInVain = FWaitedInVain || !together;
    }
    reply.set_content(FBodies[index], "application/x-shockwave-flash");
}
