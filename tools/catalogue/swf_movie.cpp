#include "swf_movie.h"

#include "swf_tags.h"

#include <algorithm>
#include <lzma.h>
#include <zlib.h>

namespace swf {
namespace {

constexpr size_t kHeaderSize = 8;
// "ZWS", version, length, packed length and the five bytes of the LZMA properties.
constexpr size_t kLzmaHeaderSize = 17;
// An LZMA dictionary is allocated as the file asks; a hostile file could ask for gigabytes.
constexpr uint64_t kLzmaMemoryLimit = 128u * 1024 * 1024;

uint32_t littleEndian(std::string_view bytes, size_t offset, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[offset + static_cast<size_t>(i)]);
    return value;
}

[[noreturn]] void cutShort(const std::string& what) {
    throw MovieError(MovieError::Kind::CutShort, what);
}

// Output grows with what the stream really holds, so a short file that claims a big movie
// costs no more than it unpacks to.
constexpr size_t kOutputStep = 256 * 1024;

size_t grow(std::string& body, size_t produced, size_t limit) {
    body.resize(std::min(limit, produced + kOutputStep));
    return body.size() - produced;
}

std::string inflateMovie(std::string_view packed, size_t unpackedBody) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        throw std::runtime_error("zlib cannot start");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    std::string body;
    size_t produced = 0;
    int result = Z_OK;
    while (result == Z_OK && produced < unpackedBody) {
        stream.avail_out = static_cast<uInt>(grow(body, produced, unpackedBody));
        stream.next_out = reinterpret_cast<Bytef*>(body.data() + produced);
        result = inflate(&stream, Z_NO_FLUSH);
        produced = body.size() - stream.avail_out;
    }
    inflateEnd(&stream);
    body.resize(produced);
    // Packers are known to leave the declared length a little off; what is unpacked counts as
    // long as the stream itself is whole.
    if (result == Z_STREAM_END || produced == unpackedBody)
        return body;
    cutShort(result == Z_OK || result == Z_BUF_ERROR ? "packed movie ends early"
                                                     : "packed movie is damaged");
}

std::string unpackLzma(std::string_view file, size_t unpackedBody) {
    if (file.size() < kLzmaHeaderSize)
        cutShort("LZMA header ends early");
    // liblzma reads the classic .lzma layout: properties, then the unpacked size.
    std::string alone(file.substr(12, 5));
    for (int i = 0; i < 8; ++i)
        alone.push_back(static_cast<char>((static_cast<uint64_t>(unpackedBody) >> (8 * i)) & 0xff));
    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&stream, kLzmaMemoryLimit) != LZMA_OK)
        throw std::runtime_error("liblzma cannot start");
    std::string body;
    size_t produced = 0;
    lzma_ret result = LZMA_OK;
    for (std::string_view input : {std::string_view(alone), file.substr(kLzmaHeaderSize)}) {
        stream.next_in = reinterpret_cast<const uint8_t*>(input.data());
        stream.avail_in = input.size();
        while (result == LZMA_OK && stream.avail_in > 0 && produced < unpackedBody) {
            stream.avail_out = grow(body, produced, unpackedBody);
            stream.next_out = reinterpret_cast<uint8_t*>(body.data() + produced);
            result = lzma_code(&stream, LZMA_RUN);
            produced = body.size() - stream.avail_out;
        }
    }
    lzma_end(&stream);
    body.resize(produced);
    if (result == LZMA_MEMLIMIT_ERROR)
        throw MovieError(MovieError::Kind::TooLarge, "LZMA dictionary too large");
    if (result != LZMA_STREAM_END && produced < unpackedBody)
        cutShort(result == LZMA_OK || result == LZMA_BUF_ERROR ? "packed movie ends early"
                                                               : "packed movie is damaged");
    return body;
}

// Reads bit fields and little-endian numbers, refusing to step past the end.
class Reader {
public:
    Reader(std::string_view bytes, size_t offset) : bytes_(bytes), offset_(offset) {}

    uint32_t bits(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            need(bitOffset_ == 0 ? 1 : 0);
            const auto byte = static_cast<uint8_t>(bytes_[offset_]);
            value = value << 1 | ((byte >> (7 - bitOffset_)) & 1u);
            if (++bitOffset_ == 8) {
                bitOffset_ = 0;
                ++offset_;
            }
        }
        return value;
    }

    int32_t signedBits(int count) {
        const uint32_t value = bits(count);
        if (count > 0 && count < 32 && (value >> (count - 1)) & 1u)
            return static_cast<int32_t>(value | ~((1u << count) - 1));
        return static_cast<int32_t>(value);
    }

    void align() {
        if (bitOffset_ != 0) {
            bitOffset_ = 0;
            ++offset_;
        }
    }

    uint32_t number(int bytes) {
        align();
        need(static_cast<size_t>(bytes));
        const uint32_t value = littleEndian(bytes_, offset_, bytes);
        offset_ += static_cast<size_t>(bytes);
        return value;
    }

    void skip(size_t count) {
        need(count);
        offset_ += count;
    }

    size_t offset() const { return offset_; }
    bool atEnd() const { return offset_ >= bytes_.size(); }

private:
    void need(size_t count) const {
        if (offset_ > bytes_.size() || bytes_.size() - offset_ < count)
            cutShort("movie ends inside a record");
    }

    std::string_view bytes_;
    size_t offset_;
    int bitOffset_ = 0;
};

bool isPictureTag(uint16_t code) {
    return code == DefineBitsJPEG2 || code == DefineBitsJPEG3 || code == DefineBitsJPEG4 ||
           code == DefineBitsLossless || code == DefineBitsLossless2;
}

void readTag(uint16_t code, std::string_view body, size_t offset, MovieSummary& summary) {
    if (code == FileAttributes && !body.empty())
        summary.actionScript3 = (static_cast<uint8_t>(body[0]) & 0x08) != 0;
    else if (code == SetBackgroundColor && body.size() >= 3)
        summary.background = Rgb{static_cast<uint8_t>(body[0]), static_cast<uint8_t>(body[1]),
                                 static_cast<uint8_t>(body[2])};
    else if (isPictureTag(code))
        summary.pictures.push_back({code, offset, body.size()});
}

} // namespace

Signature signatureOf(std::string_view file) {
    if (file.size() < 3 || file.substr(1, 2) != "WS")
        throw MovieError(MovieError::Kind::NotSwf, "no SWF signature");
    switch (file[0]) {
    case 'F':
        return Signature::Plain;
    case 'C':
        return Signature::Zlib;
    case 'Z':
        return Signature::Lzma;
    default:
        throw MovieError(MovieError::Kind::NotSwf, "no SWF signature");
    }
}

std::string unpackMovie(std::string_view file) {
    const Signature signature = signatureOf(file);
    if (file.size() < kHeaderSize)
        cutShort("header ends early");
    const uint32_t length = littleEndian(file, 4, 4);
    if (file[3] == 0 || length < kHeaderSize)
        throw MovieError(MovieError::Kind::NotSwf, "impossible SWF header");
    if (length > kLargestMovie)
        throw MovieError(MovieError::Kind::TooLarge, "movie claims more than 256 MiB");
    std::string movie = "FWS" + std::string(file.substr(3, 5));
    const size_t body = length - kHeaderSize;
    switch (signature) {
    case Signature::Plain:
        if (file.size() < length)
            cutShort("file is shorter than its header says");
        return movie.append(file.substr(kHeaderSize, body));
    case Signature::Zlib:
        return movie + inflateMovie(file.substr(kHeaderSize), body);
    case Signature::Lzma:
        return movie + unpackLzma(file, body);
    }
    return movie;
}

MovieSummary summarizeMovie(std::string_view movie, Signature signature) {
    MovieSummary summary;
    summary.signature = signature;
    Reader reader(movie, 3);
    summary.version = static_cast<uint8_t>(reader.number(1));
    reader.skip(4);
    const int bitsPerField = static_cast<int>(reader.bits(5));
    int32_t frame[4];
    for (int32_t& field : frame)
        field = reader.signedBits(bitsPerField);
    constexpr int kTwipsPerPixel = 20;
    summary.stageWidth = static_cast<int>((int64_t{frame[1]} - frame[0]) / kTwipsPerPixel);
    summary.stageHeight = static_cast<int>((int64_t{frame[3]} - frame[2]) / kTwipsPerPixel);
    summary.frameRate = reader.number(2) / 256.0;
    summary.frameCount = static_cast<uint16_t>(reader.number(2));
    while (!reader.atEnd()) {
        const uint32_t codeAndLength = reader.number(2);
        const auto code = static_cast<uint16_t>(codeAndLength >> 6);
        size_t length = codeAndLength & 0x3f;
        if (length == 0x3f)
            length = reader.number(4);
        const size_t offset = reader.offset();
        reader.skip(length);
        if (code == End)
            return summary;
        readTag(code, movie.substr(offset, length), offset, summary);
    }
    // Some tools leave out the last End tag; the movie still plays.
    return summary;
}

} // namespace swf
