#include "loopback_server.h"

#include <chrono>

namespace {

const std::string kBigBody(200000, 'x');

} // namespace

TLoopbackServer::TLoopbackServer() {
    AddRoutes();
    FPort = FServer.bind_to_any_port("127.0.0.1");
    FThread = std::thread([this] { FServer.listen_after_bind(); });
    while (!FServer.is_running())
        std::this_thread::yield();
}

TLoopbackServer::~TLoopbackServer() {
    ReleaseHeld();
    FServer.stop();
    FThread.join();
}

QString TLoopbackServer::Url(const char* path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(FPort).arg(QLatin1String(path));
}

void TLoopbackServer::ReleaseHeld() {
    const std::lock_guard<std::mutex> lock(FMutex);
    FHeldReleased = true;
    FReleased.notify_all();
}

void TLoopbackServer::AddRoutes() {
    // Recorded before the reply is written, so the client sees it once its request returns.
    FServer.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
        LastTarget = request.target;
        LastPath = request.path;
        LastVersion = request.version;
        LastAccept = request.get_header_value("Accept");
        LastUserAgent = request.get_header_value("User-Agent");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    FServer.Get("/ok", [this](const httplib::Request&, httplib::Response& response) {
        ++OkRequests;
        response.set_content("1|name|body|&#97|p.gif", "text/html");
    });
    FServer.Get("/missing", [](const httplib::Request&, httplib::Response& response) {
        response.status = 404;
        response.set_content("<html>gone</html>", "text/html");
    });
    FServer.Get("/unavailable", [](const httplib::Request&, httplib::Response& response) {
        response.status = 503;
    });
    FServer.Get("/moved", [this](const httplib::Request&, httplib::Response& response) {
        response.set_redirect(Url("/ok").toStdString());
    });
    FServer.Get("/big", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(kBigBody, "application/x-shockwave-flash");
    });
    FServer.Get("/empty", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("", "application/x-shockwave-flash");
    });
    FServer.Get("/chunked", [](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider("text/plain",
                                              [](size_t offset, httplib::DataSink& sink) {
                                                  if (offset == 0)
                                                      sink.write("abc", 3);
                                                  else
                                                      sink.done();
                                                  return true;
                                              });
    });
    // Promises 100 bytes, sends 10 and hangs up.
    FServer.Get("/truncated", [](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(100, "image/gif",
                                      [](size_t, size_t, httplib::DataSink& sink) {
                                          sink.write("GIF89a....", 10);
                                          return false;
                                      });
    });
    FServer.Get("/hold", [this](const httplib::Request&, httplib::Response& response) {
        std::unique_lock<std::mutex> lock(FMutex);
        const bool released =
            FReleased.wait_for(lock, std::chrono::seconds(20), [this] { return FHeldReleased; });
        response.set_content(released ? "released" : "never released", "text/plain");
    });
    FServer.Get(R"(/names/.*)", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("named", "text/plain");
    });
}
