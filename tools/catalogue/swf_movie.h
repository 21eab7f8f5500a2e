#pragma once

#include "swf_writer.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace swf {

// Why a file is not served: it is no movie at all, one that lacks some of its bytes, or one
// bigger than any game. The message, as the scan's report shows it, starts with which.
class MovieError : public std::runtime_error {
public:
    enum class Kind { NotSwf, CutShort, TooLarge };
    MovieError(Kind kind, const std::string& detail)
        : std::runtime_error(std::string(kind == Kind::NotSwf     ? "not a SWF movie: "
                                         : kind == Kind::CutShort ? "cut short: "
                                                                  : "too large: ") +
                             detail) {}
};

enum class Signature { Plain, Zlib, Lzma };

// A picture tag of the movie's own timeline: its code and where its body lies in the movie.
struct PictureTag {
    uint16_t code = 0;
    size_t offset = 0;
    size_t length = 0;
};

struct MovieSummary {
    Signature signature = Signature::Plain;
    uint8_t version = 0;
    int stageWidth = 0; // pixels
    int stageHeight = 0;
    double frameRate = 0;
    uint16_t frameCount = 0;
    bool actionScript3 = false;
    std::optional<Rgb> background;
    std::vector<PictureTag> pictures;
};

// A movie never grows past this when unpacked: bigger claims are refused, not believed.
inline constexpr size_t kLargestMovie = 256u * 1024 * 1024;

// The movie as the player sees it: the eight header bytes (signature turned to "FWS") and the
// unpacked rest. Throws MovieError.
std::string unpackMovie(std::string_view file);

// Header fields and the top-level tags that matter to the catalogue, read from an unpacked
// movie; the signature is the packed file's. Throws MovieError when a tag runs past the end.
MovieSummary summarizeMovie(std::string_view movie, Signature signature);

Signature signatureOf(std::string_view file);

} // namespace swf
