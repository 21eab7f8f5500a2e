#pragma once

#include "swf_actions.h"

#include <string_view>

// Expressions and statements over ActionBlock, so game logic reads close to the
// ActionScript it stands for. Expressions leave one value on the stack.
namespace swf::script {

ActionBlock number(int value);
ActionBlock variable(std::string_view name);
ActionBlock property(std::string_view target, Property which);
ActionBlock plus(ActionBlock left, const ActionBlock& right);
ActionBlock minus(ActionBlock left, const ActionBlock& right);
ActionBlock less(ActionBlock left, const ActionBlock& right);
ActionBlock greater(ActionBlock left, const ActionBlock& right);
ActionBlock randomBelow(int limit);
ActionBlock keyDown(int keyCode);
ActionBlock mouseX();

ActionBlock setVariable(std::string_view name, const ActionBlock& value);
ActionBlock setProperty(std::string_view target, Property which, const ActionBlock& value);
ActionBlock moveBy(std::string_view target, Property which, const ActionBlock& delta);
ActionBlock when(ActionBlock condition, const ActionBlock& body);
// Keeps a property within [low, high].
ActionBlock clamp(std::string_view target, Property which, int low, int high);
// True when the two clips' centres are closer than distance on both axes.
ActionBlock near(std::string_view first, std::string_view second, int distance,
                 const ActionBlock& body);

inline constexpr int kKeySpace = 32;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

} // namespace swf::script
