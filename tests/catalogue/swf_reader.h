#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An independent reading of the SWF container, to check what the writer made.
struct SwfTag {
    uint16_t code;
    std::string body;
};

struct SwfFile {
    char signature; // 'F' (uncompressed) or 'C' (zlib)
    uint8_t version;
    uint32_t declaredLength;
    size_t uncompressedLength;
    int stageWidthTwips;
    int stageHeightTwips;
    uint16_t frameCount;
    std::vector<SwfTag> tags;
};

// Throws std::runtime_error when the bytes are not a well-formed SWF.
SwfFile readSwf(const std::string& bytes);

struct ActionRecord {
    uint8_t code;
    size_t offset;
    std::string payload;
};

// The records of a DoAction body up to its end marker; throws when a record overruns it.
std::vector<ActionRecord> readActions(const std::string& doActionBody);
