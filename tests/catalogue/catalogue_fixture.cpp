#include "catalogue_fixture.h"

#include "gbk.h"

#include <arpa/inet.h>
#include <fstream>
#include <netinet/in.h>
#include <regex>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

void CatalogueFixture::SetUpTestSuite() {
    server_ = std::make_unique<CatalogueServer>(std::filesystem::path(), FaultGames::Included);
    port_ = server_->bind(0);
    server_->start();
}

void CatalogueFixture::TearDownTestSuite() {
    server_.reset();
}

httplib::Result CatalogueFixture::get(const std::string& target, const httplib::Headers& headers) {
    httplib::Client client("127.0.0.1", port_);
    client.set_read_timeout(10);
    return client.Get(target, headers);
}

std::string CatalogueFixture::rawExchange(const std::string& request,
                                          std::chrono::milliseconds patience) {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port_));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval timeout{patience.count() / 1000,
                    static_cast<suseconds_t>(patience.count() % 1000 * 1000)};
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::string answer;
    if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        send(socket, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size())) {
        char buffer[65536];
        ssize_t received;
        while ((received = recv(socket, buffer, sizeof buffer, 0)) > 0)
            answer.append(buffer, static_cast<size_t>(received));
    }
    close(socket);
    return answer;
}

std::string decodeGbk(const std::string& body) {
    const std::optional<std::string> text = gbkToUtf8(body);
    EXPECT_TRUE(text.has_value()) << "body is not GBK";
    return text.value_or("");
}

std::string pathOf(const std::string& address) {
    const size_t slash = address.find('/', address.find("://") + 3);
    return slash == std::string::npos ? "/" : address.substr(slash);
}

std::vector<std::string> links(const std::string& html) {
    static const std::regex href("href=\"([^\"]*)\"");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), href);
         it != std::sregex_iterator(); ++it) {
        const std::string written = (*it)[1];
        std::string link;
        for (size_t i = 0; i < written.size(); ++i) {
            const bool entity = written.compare(i, 5, "&amp;") == 0;
            link += written[i];
            i += entity ? 4 : 0;
        }
        found.push_back(link);
    }
    return found;
}

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string bytesOf(const swf::Bytes& bytes) {
    return {bytes.begin(), bytes.end()};
}
