#include "swf_reader.h"

#include <stdexcept>
#include <zlib.h>

namespace {

uint32_t littleEndian(const std::string& bytes, size_t at, int count) {
    if (at + static_cast<size_t>(count) > bytes.size())
        throw std::runtime_error("SWF ends inside a field");
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

uint32_t bitsAt(const std::string& bytes, size_t bitOffset, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i, ++bitOffset) {
        const auto byte = static_cast<uint8_t>(bytes.at(bitOffset / 8));
        value = (value << 1) | ((byte >> (7 - bitOffset % 8)) & 1u);
    }
    return value;
}

int signedBitsAt(const std::string& bytes, size_t bitOffset, int count) {
    const uint32_t raw = bitsAt(bytes, bitOffset, count);
    return (raw & (1u << (count - 1))) ? static_cast<int>(raw) - (1 << count)
                                       : static_cast<int>(raw);
}

} // namespace

SwfFile readSwf(const std::string& bytes) {
    if (bytes.size() < 8 || bytes.substr(1, 2) != "WS" || (bytes[0] != 'F' && bytes[0] != 'C'))
        throw std::runtime_error("no SWF signature");
    SwfFile file{bytes[0], static_cast<uint8_t>(bytes[3]), littleEndian(bytes, 4, 4), 0, 0, 0, 0,
                 {}};
    std::string movie = bytes.substr(0, 8);
    if (file.signature == 'C') {
        std::string inflated(file.declaredLength - 8, '\0');
        uLongf size = inflated.size();
        if (uncompress(reinterpret_cast<Bytef*>(inflated.data()), &size,
                       reinterpret_cast<const Bytef*>(bytes.data() + 8), bytes.size() - 8) != Z_OK)
            throw std::runtime_error("CWS body does not inflate to its declared length");
        inflated.resize(size);
        movie += inflated;
    } else {
        movie = bytes;
    }
    file.uncompressedLength = movie.size();

    const int bits = static_cast<int>(bitsAt(movie, 64, 5));
    file.stageWidthTwips = signedBitsAt(movie, 64 + 5 + bits, bits);
    file.stageHeightTwips = signedBitsAt(movie, 64 + 5 + 3 * bits, bits);
    size_t at = 8 + (5 + 4 * static_cast<size_t>(bits) + 7) / 8;
    file.frameCount = static_cast<uint16_t>(littleEndian(movie, at + 2, 2));
    at += 4;
    while (at < movie.size()) {
        const uint32_t header = littleEndian(movie, at, 2);
        at += 2;
        uint32_t length = header & 0x3f;
        if (length == 0x3f) {
            length = littleEndian(movie, at, 4);
            at += 4;
        }
        if (at + length > movie.size())
            throw std::runtime_error("tag runs past the end of the file");
        file.tags.push_back({static_cast<uint16_t>(header >> 6), movie.substr(at, length)});
        at += length;
        if (file.tags.back().code == 0)
            break;
    }
    return file;
}

std::vector<ActionRecord> readActions(const std::string& doActionBody) {
    std::vector<ActionRecord> actions;
    size_t at = 0;
    while (at < doActionBody.size() && doActionBody[at] != 0) {
        ActionRecord record{static_cast<uint8_t>(doActionBody[at]), at, {}};
        ++at;
        if (record.code >= 0x80) {
            const uint32_t length = littleEndian(doActionBody, at, 2);
            at += 2;
            if (at + length > doActionBody.size())
                throw std::runtime_error("action runs past its block");
            record.payload = doActionBody.substr(at, length);
            at += length;
        }
        actions.push_back(record);
    }
    if (at >= doActionBody.size())
        throw std::runtime_error("action block has no end marker");
    return actions;
}
