#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A response body of known size that is either held in memory or made piece by piece,
// so large bodies never have to exist whole.
class Payload {
public:
    using Generator = std::function<void(uint64_t offset, size_t length, std::string& out)>;

    Payload() : Payload(std::string()) {}
    explicit Payload(std::string bytes);
    explicit Payload(std::shared_ptr<const std::string> bytes);
    Payload(uint64_t size, Generator generator);

    uint64_t size() const { return size_; }
    // Appends bytes [offset, offset + length) to out.
    void read(uint64_t offset, size_t length, std::string& out) const;

private:
    uint64_t size_;
    Generator generator_;
};

// What a handler answers, before any fault switch decides how it travels.
struct Reply {
    int status = 200;
    std::string contentType;
    Payload body;
    std::vector<std::pair<std::string, std::string>> headers;
    // Fault switch this answer carries by itself; a fault= in the request overrides it.
    std::string configuredFault;

    static Reply html(std::string gbkPage);
    static Reply plain(int status, std::string text);
    static Reply redirect(int status, std::string location);
};
