#pragma once

#include <cstdint>
#include <optional>
#include <set>
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

struct Placement {
    uint16_t depth;
    std::optional<uint16_t> characterId; // absent when the tag only moves what is there
    std::string name;                    // the instance name, empty when none
};

// A PlaceObject2 body; throws on fields the writer never sets rather than misreading them.
Placement readPlaceObject2(const std::string& body);

struct SpriteDefinition {
    uint16_t id;
    uint16_t frameCount;
    std::vector<SwfTag> tags; // the clip's own timeline, up to and including its End
};

SpriteDefinition readDefineSprite(const std::string& body);

// The literal target paths of every GetProperty, SetProperty, SetTarget and SetTarget2,
// found by following the stack through the actions in order. Conditional bodies are taken
// as run, which holds for blocks whose statements leave the stack as they found it. Throws
// on an action it does not model and on a target computed at run time.
std::set<std::string> scriptTargets(const std::vector<ActionRecord>& actions);
