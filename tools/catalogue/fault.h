#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A switch that makes one response misbehave, written "kind[:argument]" in the query
// parameter fault= or configured on a catalogue game:
//   404, 500 (any status 400-599)   that status with a short page
//   truncate[:bytes]                Content-Length of the whole body, then closes early
//                                   (default: after half the body)
//   slow[:bytes-per-second]         the body trickles (default 4096 bytes per second)
//   redirect[:target]               302 to target (default: the same address without the switch)
//   auth                            401 with a realm until the demo credentials come along
//   proxyauth                       407 with a realm until the demo proxy credentials come along
//   nolength                        no Content-Length; the connection closes after the body
//   chunked[:bytes]                 chunked transfer coding; with bytes, the connection closes
//                                   after that many without the last chunk
//   empty                           200 with an empty body
//   stamped                         dates, entity tag and language headers added to the reply
//   longheader[:bytes]              an ETag header of that many bytes (default 5000)
struct Fault {
    enum class Kind {
        None,
        Status,
        Truncate,
        Slow,
        Redirect,
        Auth,
        ProxyAuth,
        NoLength,
        Chunked,
        Empty,
        Stamped,
        LongHeader
    };
    Kind kind = Kind::None;
    int status = 0;
    std::optional<uint64_t> amount;
    std::string target;
};

// Empty when the text names no fault.
std::optional<Fault> parseFault(std::string_view text);

inline constexpr const char* kDemoUser = "pebblo";
inline constexpr const char* kDemoPassword = "demo";
inline constexpr const char* kAuthRealm = "Pebblo Demo";
inline constexpr const char* kProxyRealm = "Pebblo Proxy";
// The headers that the stamped switch adds.
inline constexpr const char* kStampedDate = "Thu, 15 Jan 2009 10:30:17 GMT";
inline constexpr const char* kStampedLastModified = "Wed, 14 Jan 2009 08:00:00 GMT";
inline constexpr const char* kStampedExpires = "Fri, 16 Jan 2009 10:30:17 GMT";
inline constexpr const char* kStampedETag = "\"pebblo-3.8\"";
inline constexpr const char* kStampedLanguage = "zh-CN";

// The Authorization (or Proxy-Authorization) value that the demo credentials give.
std::string demoBasicCredentials();
