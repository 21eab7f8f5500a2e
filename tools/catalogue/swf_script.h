#pragma once

#include "swf_actions.h"

#include <string_view>
#include <vector>

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
ActionBlock member(ActionBlock object, std::string_view name);
// object.method(arguments...), its result left on the stack.
ActionBlock callMethod(ActionBlock object, std::string_view method,
                       const std::vector<ActionBlock>& arguments);
// new owner.className(arguments...)
ActionBlock construct(ActionBlock owner, std::string_view className,
                      const std::vector<ActionBlock>& arguments);

ActionBlock setVariable(std::string_view name, const ActionBlock& value);
// object.name = value
ActionBlock setMember(ActionBlock object, std::string_view name, const ActionBlock& value);
// Evaluates Value for its effect and drops the result.
ActionBlock discard(ActionBlock value);
ActionBlock setProperty(std::string_view target, Property which, const ActionBlock& value);
ActionBlock moveBy(std::string_view target, Property which, const ActionBlock& delta);
ActionBlock when(ActionBlock condition, const ActionBlock& body);
// Keeps a property within [low, high].
ActionBlock clamp(std::string_view target, Property which, int low, int high);
// _root.onMouseDown = function() { body }: runs at every press of the mouse button.
ActionBlock onMouseDown(const ActionBlock& body);
// fscommand(command, arguments): a request to the player's host.
ActionBlock fscommand(std::string_view command, std::string_view arguments);
// Stage.displayState = state, as a game asking for full screen by itself does.
ActionBlock setStageDisplayState(std::string_view state);
// True when the two clips' centres are closer than distance on both axes.
ActionBlock near(std::string_view first, std::string_view second, int distance,
                 const ActionBlock& body);

inline constexpr int kKeySpace = 32;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

} // namespace swf::script
