#include "catalogue_server.h"

#include "delivery.h"

#include <chrono>
#include <stdexcept>

namespace {

// Browser panes keep connections open and slow bodies hold a worker each.
constexpr size_t kWorkerThreads = 32;

struct Target {
    std::string path;
    std::string authority; // empty unless the request came in proxy form
};

Target splitProxyForm(const std::string& path) {
    constexpr std::string_view kScheme = "http://";
    if (path.size() < kScheme.size() ||
        !std::equal(kScheme.begin(), kScheme.end(), path.begin(), [](char a, char b) {
            return a == std::tolower(static_cast<unsigned char>(b));
        }))
        return {path, {}};
    const size_t slash = path.find('/', kScheme.size());
    if (slash == std::string::npos)
        return {"/", path.substr(kScheme.size())};
    return {path.substr(slash), path.substr(kScheme.size(), slash - kScheme.size())};
}

std::string headerOf(const Reply& reply, std::string_view name) {
    for (const auto& [key, value] : reply.headers)
        if (key == name)
            return value;
    return {};
}

// Whether the reply goes out as the one range asked for. A range of an older version of the file
// (If-Range naming another validator) gets the whole new file instead.
bool answersRange(const httplib::Request& request, const Reply& reply) {
    if (request.ranges.size() != 1 || headerOf(reply, "Accept-Ranges") != "bytes")
        return false;
    const std::string ifRange = request.get_header_value("If-Range");
    if (ifRange.empty() || ifRange == headerOf(reply, "ETag"))
        return true;
    // The library would still cut the body by these ranges; the request object is the server's
    // own, handed to us as const only by convention.
    const_cast<httplib::Request&>(request).ranges.clear();
    return false;
}

} // namespace

CatalogueServer::CatalogueServer(std::filesystem::path dataDir, FaultGames faultGames)
    : site_(builtInCatalogue(faultGames), std::move(dataDir)) {
    configure();
}

CatalogueServer::CatalogueServer(Collection collection, std::filesystem::path dataDir)
    : site_(std::move(collection.catalogue), std::move(dataDir), std::move(collection.index)) {
    configure();
}

void CatalogueServer::configure() {
    // Without it a reply's head and body wait on each other's acknowledgement on a kept-alive
    // connection: some 27 ms a request on loopback instead of a fraction of one.
    server_.set_tcp_nodelay(true);
    server_.new_task_queue = [] {
        return new httplib::ThreadPool(kWorkerThreads);
    };
    server_.set_pre_routing_handler(
        [this](const httplib::Request& request, httplib::Response& response) {
            handle(request, response);
            return httplib::Server::HandlerResponse::Handled;
        });
    server_.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
            response.status = 500;
            response.set_content("Internal error\n", "text/plain");
        });
}

int CatalogueServer::bind(int port) {
    port_ = port == 0 ? server_.bind_to_any_port("127.0.0.1")
                      : (server_.bind_to_port("127.0.0.1", port) ? port : -1);
    if (port_ < 0)
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
    return port_;
}

CatalogueServer::~CatalogueServer() {
    stop();
}

void CatalogueServer::start() {
    serving_ = std::thread([this] {
        server_.listen_after_bind();
        listenEnded_ = true;
    });
    // A stop() that came before the listening loop runs would be lost; wait for it.
    while (!server_.is_running() && !listenEnded_)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void CatalogueServer::stop() {
    if (!serving_.joinable())
        return;
    server_.stop();
    serving_.join();
}

void CatalogueServer::handle(const httplib::Request& request, httplib::Response& response) {
    if (request.method != "GET" && request.method != "HEAD") {
        response.status = 405;
        response.set_content("Only GET and HEAD\n", "text/plain");
        return;
    }
    const Target target = splitProxyForm(request.path);
    std::string host =
        target.authority.empty() ? request.get_header_value("Host") : target.authority;
    if (host.empty())
        host = "127.0.0.1:" + std::to_string(port_);
    Reply reply = site_.answer(request, target.path, host);
    const std::string faultText =
        request.has_param("fault") ? request.get_param_value("fault") : reply.configuredFault;
    const std::optional<Fault> fault = faultText.empty() ? Fault{} : parseFault(faultText);
    if (!fault) {
        deliver(Reply::plain(400, "Unknown fault switch: " + faultText + "\n"), Fault{}, request,
                response);
        return;
    }
    const bool partial = answersRange(request, reply);
    deliver(std::move(reply), *fault, request, response);
    // The HTTP library cuts the body to the range and writes Content-Range; the status is ours.
    if (partial && response.status == 200)
        response.status = 206;
}
