#pragma once

#include "swf_writer.h"

#include <string_view>

namespace swf {

// AVM1 action codes (ActionScript 1/2 byte code) that the games use.
enum class Action : uint8_t {
    Play = 0x06,
    Stop = 0x07,
    Subtract = 0x0B,
    Multiply = 0x0C,
    Not = 0x12,
    Pop = 0x17,
    GetVariable = 0x1C,
    SetVariable = 0x1D,
    GetProperty = 0x22,
    SetProperty = 0x23,
    RandomNumber = 0x30,
    Add2 = 0x47,
    Less2 = 0x48,
    GetMember = 0x4E,
    SetMember = 0x4F,
    CallMethod = 0x52,
    NewMethod = 0x53,
    Greater = 0x67,
};

// Property indices of GetProperty/SetProperty.
enum class Property : int {
    X = 0,
    Y = 1,
    XScale = 2,
    YScale = 3,
    Alpha = 6,
    Visible = 7,
    Rotation = 10
};

// A run of actions; blocks compose into expressions and statements.
class ActionBlock {
public:
    ActionBlock& push(std::string_view text);
    ActionBlock& push(int32_t number);
    ActionBlock& op(Action action);
    ActionBlock& gotoFrame(uint16_t frameIndex);
    // Pushes an anonymous function without parameters whose body is Body.
    ActionBlock& defineFunction(const ActionBlock& body);
    ActionBlock& getUrl(std::string_view url, std::string_view target);
    ActionBlock& append(const ActionBlock& other);
    // Pops a condition and runs body only when it is true.
    ActionBlock& onlyIf(const ActionBlock& body);

    const Bytes& bytes() const { return bytes_; }

private:
    ActionBlock& withPayload(uint8_t code, const Bytes& payload);

    Bytes bytes_;
};

} // namespace swf
