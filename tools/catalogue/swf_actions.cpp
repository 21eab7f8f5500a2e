#include "swf_actions.h"

#include <stdexcept>

namespace swf {
namespace {

constexpr uint8_t kActionPush = 0x96;
constexpr uint8_t kActionGotoFrame = 0x81;
constexpr uint8_t kActionIf = 0x9D;
constexpr uint8_t kActionGetUrl = 0x83;
constexpr uint8_t kActionDefineFunction = 0x9B;
constexpr uint8_t kPushString = 0;
constexpr uint8_t kPushInteger = 7;

} // namespace

ActionBlock& ActionBlock::push(std::string_view text) {
    Bytes payload{kPushString};
    payload.insert(payload.end(), text.begin(), text.end());
    payload.push_back(0);
    return withPayload(kActionPush, payload);
}

ActionBlock& ActionBlock::push(int32_t number) {
    Bytes payload{kPushInteger};
    for (int shift = 0; shift < 32; shift += 8)
        payload.push_back(static_cast<uint8_t>((static_cast<uint32_t>(number) >> shift) & 0xff));
    return withPayload(kActionPush, payload);
}

ActionBlock& ActionBlock::op(Action action) {
    bytes_.push_back(static_cast<uint8_t>(action));
    return *this;
}

ActionBlock& ActionBlock::gotoFrame(uint16_t frameIndex) {
    return withPayload(kActionGotoFrame, {static_cast<uint8_t>(frameIndex & 0xff),
                                          static_cast<uint8_t>(frameIndex >> 8)});
}

ActionBlock& ActionBlock::defineFunction(const ActionBlock& body) {
    if (body.bytes_.size() > 0xffff)
        throw std::length_error("function body too long");
    const auto size = static_cast<uint16_t>(body.bytes_.size());
    // No name, no parameters, then the size of the body that follows the action.
    withPayload(kActionDefineFunction,
                {0, 0, 0, static_cast<uint8_t>(size & 0xff), static_cast<uint8_t>(size >> 8)});
    return append(body);
}

ActionBlock& ActionBlock::getUrl(std::string_view url, std::string_view target) {
    Bytes payload(url.begin(), url.end());
    payload.push_back(0);
    payload.insert(payload.end(), target.begin(), target.end());
    payload.push_back(0);
    return withPayload(kActionGetUrl, payload);
}

ActionBlock& ActionBlock::append(const ActionBlock& other) {
    bytes_.insert(bytes_.end(), other.bytes_.begin(), other.bytes_.end());
    return *this;
}

ActionBlock& ActionBlock::onlyIf(const ActionBlock& body) {
    // ActionIf jumps when true, so the condition is negated to jump over the body.
    if (body.bytes_.size() > 0x7fff)
        throw std::length_error("conditional body too long for a branch");
    const auto skip = static_cast<uint16_t>(body.bytes_.size());
    op(Action::Not);
    withPayload(kActionIf, {static_cast<uint8_t>(skip & 0xff), static_cast<uint8_t>(skip >> 8)});
    return append(body);
}

ActionBlock& ActionBlock::withPayload(uint8_t code, const Bytes& payload) {
    bytes_.push_back(code);
    bytes_.push_back(static_cast<uint8_t>(payload.size() & 0xff));
    bytes_.push_back(static_cast<uint8_t>(payload.size() >> 8));
    bytes_.insert(bytes_.end(), payload.begin(), payload.end());
    return *this;
}

} // namespace swf
