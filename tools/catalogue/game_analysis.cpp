#include "game_analysis.h"

#include <fstream>
#include <sodium.h>

namespace {

std::string readWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open");
    in.seekg(0, std::ios::end);
    const auto size = static_cast<uint64_t>(in.tellg());
    // A packed movie is never bigger than what it unpacks to.
    if (size > swf::kLargestMovie)
        throw swf::MovieError(swf::MovieError::Kind::TooLarge, "file larger than 256 MiB");
    std::string bytes(size, '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size)))
        throw std::runtime_error("cannot read");
    return bytes;
}

std::string sha256Hex(std::string_view bytes) {
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : digest)
        hex += {kHex[byte >> 4], kHex[byte & 15]};
    return hex;
}

} // namespace

GameFacts analyseGame(const std::filesystem::path& file, std::string_view name) {
    const std::string bytes = readWhole(file);
    GameFacts facts;
    const swf::Signature signature = swf::signatureOf(bytes);
    const std::string movie = swf::unpackMovie(bytes);
    facts.summary = swf::summarizeMovie(movie, signature);
    facts.sha256 = sha256Hex(bytes);
    facts.picture = gamePicture(movie, facts.summary, name);
    return facts;
}
