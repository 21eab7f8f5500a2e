#include "delivery.h"

#include <chrono>
#include <thread>

namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr uint64_t kDefaultBytesPerSecond = 4096;
constexpr int kSlowTicksPerSecond = 10;
constexpr uint64_t kDefaultLongHeaderBytes = 5000;

Reply challenge(int status, const char* header, const char* realm) {
    Reply reply = Reply::plain(status, "Authorization required\n");
    reply.headers.emplace_back(header, std::string("Basic realm=\"") + realm + "\"");
    return reply;
}

// Decides whether the fault replaces the reply before anything is sent.
Reply passGate(Reply reply, const Fault& fault, const httplib::Request& request) {
    switch (fault.kind) {
    case Fault::Kind::Auth:
        if (request.get_header_value("Authorization") != demoBasicCredentials())
            return challenge(401, "WWW-Authenticate", kAuthRealm);
        return reply;
    case Fault::Kind::ProxyAuth:
        if (request.get_header_value("Proxy-Authorization") != demoBasicCredentials())
            return challenge(407, "Proxy-Authenticate", kProxyRealm);
        return reply;
    case Fault::Kind::Redirect:
        return Reply::redirect(302, fault.target.empty() ? withoutFaultSwitch(request.target)
                                                         : fault.target);
    case Fault::Kind::Status:
        return Reply::plain(fault.status, "Error " + std::to_string(fault.status) + "\n");
    case Fault::Kind::Empty:
        reply.body = Payload();
        return reply;
    case Fault::Kind::Stamped:
        reply.headers.emplace_back("Date", kStampedDate);
        reply.headers.emplace_back("Last-Modified", kStampedLastModified);
        reply.headers.emplace_back("Expires", kStampedExpires);
        reply.headers.emplace_back("ETag", kStampedETag);
        reply.headers.emplace_back("Content-Language", kStampedLanguage);
        return reply;
    case Fault::Kind::LongHeader:
        reply.headers.emplace_back(
            "ETag",
            std::string(static_cast<size_t>(fault.amount.value_or(kDefaultLongHeaderBytes)), 'e'));
        return reply;
    default:
        return reply;
    }
}

void sendWhole(const Payload& body, const std::string& type, httplib::Response& response) {
    response.set_content_provider(static_cast<size_t>(body.size()), type,
                                  [body](size_t offset, size_t length, httplib::DataSink& sink) {
                                      std::string piece;
                                      body.read(offset, std::min(length, kChunk), piece);
                                      // A game file that shrank since it was indexed gives
                                      // nothing more: end the connection instead of waiting.
                                      return !piece.empty() &&
                                             sink.write(piece.data(), piece.size());
                                  });
}

void sendTruncated(const Payload& body, uint64_t sent, const std::string& type,
                   httplib::Response& response) {
    response.set_content_provider(
        static_cast<size_t>(body.size()), type,
        [body, sent](size_t offset, size_t, httplib::DataSink& sink) {
            if (offset >= sent)
                return false; // a failed provider makes the server drop the connection
            std::string piece;
            body.read(offset, static_cast<size_t>(std::min<uint64_t>(sent - offset, kChunk)),
                      piece);
            return sink.write(piece.data(), piece.size());
        });
}

void sendSlowly(const Payload& body, uint64_t bytesPerSecond, const std::string& type,
                httplib::Response& response) {
    const size_t tick = std::max<size_t>(1, bytesPerSecond / kSlowTicksPerSecond);
    response.set_content_provider(
        static_cast<size_t>(body.size()), type,
        [body, tick](size_t offset, size_t, httplib::DataSink& sink) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1000 / kSlowTicksPerSecond));
            std::string piece;
            body.read(offset, tick, piece);
            return sink.is_writable() && sink.write(piece.data(), piece.size());
        });
}

void sendWithoutLength(const Payload& body, bool chunked, std::optional<uint64_t> cut,
                       const std::string& type, httplib::Response& response) {
    // Without a length only the closing can end the body, but the server would keep the
    // connection open for the next request: a provider that fails after the last byte makes
    // it close. Chunked bodies end with their last chunk instead, unless cut short.
    auto provider = [body, chunked, cut](size_t offset, httplib::DataSink& sink) {
        if (cut && offset >= *cut)
            return false;
        std::string piece;
        const uint64_t left = cut ? *cut - offset : kChunk;
        body.read(offset, static_cast<size_t>(std::min<uint64_t>(left, kChunk)), piece);
        if (!piece.empty())
            return sink.write(piece.data(), piece.size());
        if (!chunked)
            return false;
        sink.done();
        return true;
    };
    if (chunked)
        response.set_chunked_content_provider(type, provider);
    else
        response.set_content_provider(type, provider);
}

} // namespace

std::string withoutFaultSwitch(const std::string& target) {
    const size_t query = target.find('?');
    if (query == std::string::npos)
        return target;
    std::string kept;
    size_t start = query + 1;
    while (start <= target.size()) {
        size_t end = target.find('&', start);
        if (end == std::string::npos)
            end = target.size();
        const std::string parameter = target.substr(start, end - start);
        if (!parameter.empty() && parameter.rfind("fault=", 0) != 0)
            kept += (kept.empty() ? "" : "&") + parameter;
        start = end + 1;
    }
    return target.substr(0, query) + (kept.empty() ? "" : "?" + kept);
}

void deliver(Reply reply, const Fault& fault, const httplib::Request& request,
             httplib::Response& response) {
    reply = passGate(std::move(reply), fault, request);
    response.status = reply.status;
    for (const auto& [name, value] : reply.headers)
        response.set_header(name, value);
    const Payload& body = reply.body;
    switch (fault.kind) {
    case Fault::Kind::Truncate:
        sendTruncated(body, fault.amount.value_or(body.size() / 2), reply.contentType, response);
        return;
    case Fault::Kind::Slow:
        sendSlowly(body, fault.amount.value_or(kDefaultBytesPerSecond), reply.contentType,
                   response);
        return;
    case Fault::Kind::NoLength:
        response.set_header("Connection", "close");
        sendWithoutLength(body, false, std::nullopt, reply.contentType, response);
        return;
    case Fault::Kind::Chunked:
        sendWithoutLength(body, true, fault.amount, reply.contentType, response);
        return;
    default:
        if (body.size() == 0)
            response.set_content("", reply.contentType);
        else
            sendWhole(body, reply.contentType, response);
    }
}
