// A file in a collection folder, as the catalogue's scan reads it: unpacked, its tags walked,
// its largest picture decoded and fitted into the client's frame. Whatever the file claims, the
// scan holds no more than the largest movie and picture it accepts.
#include "game_picture.h"
#include "support/heap_watch.h"
#include "support/require.h"
#include "swf_movie.h"
#include "swf_pictures.h"

#include <cstdint>

namespace {

// The RGBA picture, a copy for fitting it, and libjpeg's and zlib's own tables.
constexpr size_t kPictureBytes = size_t(swf::kLargestPicturePixels) * 4 * 2;
constexpr size_t kBookkeepingBytes = 4 * 1024 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const THeapWatch watch(size + swf::kLargestMovie + kPictureBytes + kBookkeepingBytes);
    try {
        const swf::Signature signature = swf::signatureOf(file);
        const std::string movie = swf::unpackMovie(file);
        Require(movie.size() <= swf::kLargestMovie, "an unpacked movie stays within the bound");
        const swf::MovieSummary summary = swf::summarizeMovie(movie, signature);
        for (const swf::PictureTag& tag : summary.pictures)
            Require(tag.offset <= movie.size() && tag.length <= movie.size() - tag.offset,
                    "a picture tag lies inside the movie");
        const GamePicture picture = gamePicture(movie, summary, "游戏");
        Require(picture.bytes.size() > 2, "every served movie has a picture");
    } catch (const swf::MovieError&) {
    }
    return 0;
}
