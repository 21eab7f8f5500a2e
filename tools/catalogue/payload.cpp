#include "payload.h"

#include <algorithm>

Payload::Payload(std::string bytes)
    : Payload(std::make_shared<const std::string>(std::move(bytes))) {}

Payload::Payload(std::shared_ptr<const std::string> bytes)
    : size_(bytes->size()), generator_([bytes](uint64_t offset, size_t length, std::string& out) {
          out.append(*bytes, static_cast<size_t>(offset), length);
      }) {}

Payload::Payload(uint64_t size, Generator generator)
    : size_(size), generator_(std::move(generator)) {}

void Payload::read(uint64_t offset, size_t length, std::string& out) const {
    if (offset >= size_)
        return;
    generator_(offset, static_cast<size_t>(std::min<uint64_t>(length, size_ - offset)), out);
}

Reply Reply::html(std::string gbkPage) {
    return {200, "text/html; charset=gb2312", Payload(std::move(gbkPage)), {}, {}};
}

Reply Reply::plain(int status, std::string text) {
    return {status, "text/plain", Payload(std::move(text)), {}, {}};
}

Reply Reply::redirect(int status, std::string location) {
    Reply reply = plain(status, "Moved to " + location + "\n");
    reply.headers.emplace_back("Location", std::move(location));
    return reply;
}
