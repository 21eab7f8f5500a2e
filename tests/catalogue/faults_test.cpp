#include "catalogue_fixture.h"
#include "fault.h"

#include <chrono>
#include <set>

namespace {

struct RawReply {
    std::string head;
    std::string body;
};

RawReply splitReply(const std::string& raw) {
    const size_t end = raw.find("\r\n\r\n");
    if (end == std::string::npos)
        return {raw, {}};
    return {raw.substr(0, end + 2), raw.substr(end + 4)};
}

// Asks the server to close after answering, so reading up to the close ends promptly.
std::string request(const std::string& target, const std::string& extraHeaders = {}) {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" +
           extraHeaders + "\r\n";
}

std::string keepAliveRequest(const std::string& target) {
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
}

long contentLength(const std::string& head) {
    const size_t at = head.find("Content-Length: ");
    return at == std::string::npos ? -1 : std::stol(head.substr(at + 16));
}

using Clock = std::chrono::steady_clock;

class Faults : public CatalogueFixture {};

} // namespace

TEST_F(Faults, StatusSwitchAnswersThatStatus) {
    EXPECT_EQ(get("/gamesoft/left.asp?fault=404")->status, 404);
    EXPECT_EQ(get("/gamesoft/left.asp?fault=500")->status, 500);
    EXPECT_EQ(get("/gamesoft/flash/g1001.swf?fault=503")->status, 503);
}

TEST_F(Faults, TruncateClosesTheConnectionBeforeContentLengthIsReached) {
    const auto start = Clock::now();
    const RawReply half =
        splitReply(rawExchange(keepAliveRequest("/gamesoft/flash/g1012.swf?fault=truncate")));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3)); // closed, not timed out
    const long announced = contentLength(half.head);
    EXPECT_GT(announced, 1000000);
    EXPECT_EQ(static_cast<long>(half.body.size()), announced / 2);

    const RawReply hundred =
        splitReply(rawExchange(keepAliveRequest("/gamesoft/left.asp?fault=truncate:100")));
    EXPECT_EQ(hundred.body.size(), 100u);
    EXPECT_GT(contentLength(hundred.head), 100);
}

TEST_F(Faults, SlowBodyArrivesWholeAtTheGivenRate) {
    const std::string whole = get("/gamesoft/left.asp")->body;
    constexpr size_t kBytesPerSecond = 2000;
    const auto start = Clock::now();
    const httplib::Result slow =
        get("/gamesoft/left.asp?fault=slow:" + std::to_string(kBytesPerSecond));
    const auto elapsed = Clock::now() - start;
    ASSERT_TRUE(slow);
    EXPECT_EQ(slow->body, whole);
    EXPECT_GE(elapsed, std::chrono::milliseconds(1000 * whole.size() / kBytesPerSecond - 200));
}

TEST_F(Faults, RedirectLeadsToTheSameAddressWithoutTheSwitchOrToTheGivenTarget) {
    const httplib::Result same = get("/gamesoft/GameList.asp?classid=1&fault=redirect&page=2");
    EXPECT_EQ(same->status, 302);
    EXPECT_EQ(same->get_header_value("Location"), "/gamesoft/GameList.asp?classid=1&page=2");
    EXPECT_EQ(get(same->get_header_value("Location"))->status, 200);
    EXPECT_EQ(
        get("/gamesoft/left.asp?fault=redirect:/gamesoft/help.htm")->get_header_value("Location"),
        "/gamesoft/help.htm");
}

TEST_F(Faults, AuthChallengesWithARealmUntilTheDemoCredentialsCome) {
    const httplib::Result challenged = get("/down/update.xml?fault=auth");
    EXPECT_EQ(challenged->status, 401);
    EXPECT_EQ(challenged->get_header_value("WWW-Authenticate"),
              std::string("Basic realm=\"") + kAuthRealm + "\"");

    httplib::Client client("127.0.0.1", port());
    client.set_basic_auth(kDemoUser, "wrong");
    EXPECT_EQ(client.Get("/down/update.xml?fault=auth")->status, 401);
    client.set_basic_auth(kDemoUser, kDemoPassword);
    const httplib::Result admitted = client.Get("/down/update.xml?fault=auth");
    EXPECT_EQ(admitted->status, 200);
    EXPECT_NE(admitted->body.find("#version="), std::string::npos);
}

TEST_F(Faults, ProxyFormIsServedAndProxyAuthAsksForProxyCredentials) {
    const std::string absolute = "http://demo.example:8080/down/update.xml";
    const RawReply proxied = splitReply(rawExchange(request(absolute)));
    EXPECT_EQ(proxied.head.rfind("HTTP/1.1 200", 0), 0u);
    EXPECT_NE(proxied.body.find("http://demo.example:8080/down/files/"), std::string::npos);

    const RawReply refused = splitReply(rawExchange(request(absolute + "?fault=proxyauth")));
    EXPECT_EQ(refused.head.rfind("HTTP/1.1 407", 0), 0u);
    EXPECT_NE(refused.head.find(std::string("Proxy-Authenticate: Basic realm=\"") + kProxyRealm),
              std::string::npos);
    const RawReply admitted = splitReply(rawExchange(request(
        absolute + "?fault=proxyauth", "Proxy-Authorization: " + demoBasicCredentials() + "\r\n")));
    EXPECT_EQ(admitted.head.rfind("HTTP/1.1 200", 0), 0u);
}

TEST_F(Faults, BodiesWithoutContentLengthEndByClosingOrByChunks) {
    const std::string whole = get("/gamesoft/left.asp")->body;
    const std::string wholeForRawHost = splitReply(rawExchange(request("/gamesoft/left.asp"))).body;
    const auto start = Clock::now();
    const RawReply closing =
        splitReply(rawExchange(keepAliveRequest("/gamesoft/left.asp?fault=nolength")));
    EXPECT_EQ(contentLength(closing.head), -1);
    EXPECT_EQ(closing.head.find("chunked"), std::string::npos);
    EXPECT_EQ(closing.body, wholeForRawHost);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3)); // ended by closing, not timed out

    const RawReply chunked = splitReply(rawExchange(request("/gamesoft/left.asp?fault=chunked")));
    EXPECT_EQ(contentLength(chunked.head), -1);
    EXPECT_NE(chunked.head.find("Transfer-Encoding: chunked"), std::string::npos);
    EXPECT_EQ(get("/gamesoft/left.asp?fault=chunked")->body, whole);
}

TEST_F(Faults, EmptyBodyAndUnknownSwitches) {
    const httplib::Result empty = get("/gamesoft/pic/g1001.gif?fault=empty");
    EXPECT_EQ(empty->status, 200);
    EXPECT_TRUE(empty->body.empty());
    EXPECT_EQ(get("/gamesoft/left.asp?fault=explode")->status, 400);
    EXPECT_EQ(get("/gamesoft/left.asp?fault=slow:fast")->status, 400);
}

TEST_F(Faults, ThroughputBlobStreamsTheAskedSizeWithItsLength) {
    const httplib::Result blob = get("/bench/blob?mb=3");
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->body.size(), 3u * 1024 * 1024);
    EXPECT_EQ(blob->get_header_value("Content-Length"), std::to_string(3 * 1024 * 1024));
    EXPECT_GT(std::set<char>(blob->body.begin(), blob->body.end()).size(), 200u);
    EXPECT_EQ(get("/bench/blob?mb=3")->body, blob->body);
    EXPECT_EQ(get("/bench/blob?mb=lots")->status, 400);
    EXPECT_EQ(get("/bench/blob?mb=-1")->status, 400);
}

TEST_F(Faults, GarbageRequestsAreRefusedAndTheServerGoesOn) {
    const std::string garbage[] = {
        std::string("\x00\x01\x02\xff garbage\r\n\r\n", 16),
        "GET\r\n\r\n",
        "GET /gamesoft/left.asp HTTP/1.1\r\nHost: x\r\nX: " + std::string(20000, 'X') + "\r\n\r\n",
        "GET /" + std::string(10000, 'a') + " HTTP/1.1\r\n\r\n",
        "POST /x HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\n\r\nabc",
        "GET /gamesoft/left.asp HTTP/1.1\r\nHost: x\r\n\r", // cut off mid-request
    };
    for (const std::string& request : garbage) {
        const std::string answer = rawExchange(request, std::chrono::milliseconds(300));
        EXPECT_TRUE(answer.empty() || answer.rfind("HTTP/1.1 4", 0) == 0) << answer.substr(0, 40);
    }
    httplib::Client client("127.0.0.1", port());
    EXPECT_EQ(client.Post("/gamesoft/left.asp", "x", "text/plain")->status, 405);
    EXPECT_EQ(get("/gamesoft/left.asp")->status, 200);
}

TEST_F(Faults, StampedAndLongHeaderSwitchesAddHeaders) {
    const auto stamped = get("/gamesoft/left.asp?fault=stamped");
    EXPECT_EQ(stamped->get_header_value("Last-Modified"), kStampedLastModified);
    EXPECT_EQ(stamped->get_header_value("ETag"), kStampedETag);
    EXPECT_EQ(get("/gamesoft/left.asp?fault=longheader:4096")->get_header_value("ETag").size(),
              4096u);
    EXPECT_EQ(get("/gamesoft/left.asp?fault=longheader")->get_header_value("ETag").size(), 5000u);
}
