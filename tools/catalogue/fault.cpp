#include "fault.h"

#include <algorithm>
#include <charconv>

namespace {

std::optional<uint64_t> parseNumber(std::string_view text) {
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string base64(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t count = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = (group << 8) | (k < count ? static_cast<uint8_t>(bytes[i + k]) : 0u);
        for (size_t k = 0; k < 4; ++k)
            out.push_back(k <= count ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=');
    }
    return out;
}

} // namespace

std::optional<Fault> parseFault(std::string_view text) {
    const size_t colon = text.find(':');
    const std::string_view kind = text.substr(0, colon);
    const std::string_view argument =
        colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
    Fault fault;
    if (auto status = parseNumber(kind); status && *status >= 400 && *status <= 599) {
        fault.kind = Fault::Kind::Status;
        fault.status = static_cast<int>(*status);
        return fault;
    }
    if (kind == "redirect") {
        fault.kind = Fault::Kind::Redirect;
        fault.target = argument;
        return fault;
    }
    static const std::pair<std::string_view, Fault::Kind> kNamed[] = {
        {"truncate", Fault::Kind::Truncate},
        {"slow", Fault::Kind::Slow},
        {"auth", Fault::Kind::Auth},
        {"proxyauth", Fault::Kind::ProxyAuth},
        {"nolength", Fault::Kind::NoLength},
        {"chunked", Fault::Kind::Chunked},
        {"empty", Fault::Kind::Empty},
        {"stamped", Fault::Kind::Stamped},
        {"longheader", Fault::Kind::LongHeader}};
    for (const auto& [name, named] : kNamed) {
        if (kind != name)
            continue;
        fault.kind = named;
        if (!argument.empty()) {
            fault.amount = parseNumber(argument);
            if (!fault.amount)
                return std::nullopt;
        }
        return fault;
    }
    return std::nullopt;
}

std::string demoBasicCredentials() {
    return "Basic " + base64(std::string(kDemoUser) + ":" + kDemoPassword);
}
