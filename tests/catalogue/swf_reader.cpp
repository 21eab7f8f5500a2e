#include "swf_reader.h"

#include <stdexcept>
#include <variant>
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

// Tags from at up to and including the first End.
std::vector<SwfTag> readTags(const std::string& bytes, size_t at) {
    std::vector<SwfTag> tags;
    while (at < bytes.size()) {
        const uint32_t header = littleEndian(bytes, at, 2);
        at += 2;
        uint32_t length = header & 0x3f;
        if (length == 0x3f) {
            length = littleEndian(bytes, at, 4);
            at += 4;
        }
        if (at + length > bytes.size())
            throw std::runtime_error("tag runs past the end of its container");
        tags.push_back({static_cast<uint16_t>(header >> 6), bytes.substr(at, length)});
        at += length;
        if (tags.back().code == 0)
            break;
    }
    return tags;
}

// A stack slot as far as a reading without running can know it.
using StackValue = std::variant<std::monostate, std::string, int32_t>;

// The values one ActionPush record puts on the stack, in push order.
std::vector<StackValue> pushedValues(const std::string& payload) {
    std::vector<StackValue> values;
    size_t at = 0;
    while (at < payload.size()) {
        switch (const auto type = static_cast<uint8_t>(payload[at++])) {
        case 0: { // string
            const size_t end = payload.find('\0', at);
            if (end == std::string::npos)
                throw std::runtime_error("pushed string has no terminator");
            values.emplace_back(payload.substr(at, end - at));
            at = end + 1;
            break;
        }
        case 7: // integer
            values.emplace_back(static_cast<int32_t>(littleEndian(payload, at, 4)));
            at += 4;
            break;
        default:
            throw std::runtime_error("push type " + std::to_string(type) + " not modelled");
        }
    }
    if (at != payload.size())
        throw std::runtime_error("push runs past its record");
    return values;
}

class AbstractStack {
public:
    void push(StackValue value) { values_.push_back(std::move(value)); }
    StackValue pop() {
        if (values_.empty())
            throw std::runtime_error("action pops an empty stack");
        StackValue value = std::move(values_.back());
        values_.pop_back();
        return value;
    }
    void drop(int count) {
        for (int i = 0; i < count; ++i)
            pop();
    }
    std::string popTarget() {
        const StackValue value = pop();
        if (!std::holds_alternative<std::string>(value))
            throw std::runtime_error("target computed at run time");
        return std::get<std::string>(value);
    }

private:
    std::vector<StackValue> values_;
};

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
    file.tags = readTags(movie, at);
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

Placement readPlaceObject2(const std::string& body) {
    const auto flags = static_cast<uint8_t>(body.at(0));
    if (flags & 0xD8)
        throw std::runtime_error("PlaceObject2 with fields this reader does not follow");
    Placement placement{static_cast<uint16_t>(littleEndian(body, 1, 2)), std::nullopt, {}};
    size_t at = 3;
    if (flags & 0x02) {
        placement.characterId = static_cast<uint16_t>(littleEndian(body, at, 2));
        at += 2;
    }
    if (flags & 0x04) { // a matrix: optional scale and rotate pairs, then the translation
        size_t bit = at * 8;
        for (int pair = 0; pair < 2; ++pair) {
            if (bitsAt(body, bit++, 1)) {
                const uint32_t bits = bitsAt(body, bit, 5);
                bit += 5 + 2 * bits;
            }
        }
        const uint32_t bits = bitsAt(body, bit, 5);
        bit += 5 + 2 * bits;
        at = (bit + 7) / 8;
    }
    if (flags & 0x20) {
        const size_t end = body.find('\0', at);
        if (end == std::string::npos)
            throw std::runtime_error("instance name has no terminator");
        placement.name = body.substr(at, end - at);
        at = end + 1;
    }
    if (at != body.size())
        throw std::runtime_error("PlaceObject2 has bytes past its fields");
    return placement;
}

SpriteDefinition readDefineSprite(const std::string& body) {
    return {static_cast<uint16_t>(littleEndian(body, 0, 2)),
            static_cast<uint16_t>(littleEndian(body, 2, 2)), readTags(body, 4)};
}

std::set<std::string> scriptTargets(const std::vector<ActionRecord>& actions) {
    std::set<std::string> targets;
    AbstractStack stack;
    for (const ActionRecord& action : actions) {
        switch (action.code) {
        case 0x06: // Play
        case 0x07: // Stop
        case 0x81: // GotoFrame
        case 0x83: // GetURL
            break;
        case 0x9B: // DefineFunction; its body follows and leaves the stack as it found it
            stack.push({});
            break;
        case 0x4F: // SetMember
            stack.drop(3);
            break;
        case 0x96: // Push
            for (StackValue& value : pushedValues(action.payload))
                stack.push(std::move(value));
            break;
        case 0x12: // Not
        case 0x1C: // GetVariable
        case 0x30: // RandomNumber
            stack.drop(1);
            stack.push({});
            break;
        case 0x0B: // Subtract
        case 0x0C: // Multiply
        case 0x47: // Add2
        case 0x48: // Less2
        case 0x4E: // GetMember
        case 0x67: // Greater
            stack.drop(2);
            stack.push({});
            break;
        case 0x17: // Pop
        case 0x9D: // If
            stack.drop(1);
            break;
        case 0x1D: // SetVariable
            stack.drop(2);
            break;
        case 0x22: // GetProperty
            stack.drop(1);
            targets.insert(stack.popTarget());
            stack.push({});
            break;
        case 0x23: // SetProperty
            stack.drop(2);
            targets.insert(stack.popTarget());
            break;
        case 0x20: // SetTarget2
            targets.insert(stack.popTarget());
            break;
        case 0x8B: // SetTarget; an empty path returns to the movie's own timeline
            if (const std::string path = action.payload.substr(0, action.payload.find('\0'));
                !path.empty())
                targets.insert(path);
            break;
        case 0x52:   // CallMethod: name, object, argument count, the arguments
        case 0x53: { // NewMethod: the same
            stack.drop(2);
            const StackValue count = stack.pop();
            if (!std::holds_alternative<int32_t>(count))
                throw std::runtime_error("argument count computed at run time");
            stack.drop(std::get<int32_t>(count));
            stack.push({});
            break;
        }
        default:
            throw std::runtime_error("action " + std::to_string(action.code) + " not modelled");
        }
    }
    return targets;
}
