#include "swf_script.h"

#include <string>

namespace swf::script {
namespace {

ActionBlock binary(ActionBlock left, const ActionBlock& right, Action action) {
    left.append(right).op(action);
    return left;
}

// Arguments go on the stack last first, then their count, the object and the name.
ActionBlock invocation(const ActionBlock& object, std::string_view name,
                       const std::vector<ActionBlock>& arguments, Action action) {
    ActionBlock call;
    for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument)
        call.append(*argument);
    call.push(static_cast<int>(arguments.size())).append(object).push(name).op(action);
    return call;
}

} // namespace

ActionBlock number(int value) {
    return ActionBlock().push(value);
}

ActionBlock variable(std::string_view name) {
    return ActionBlock().push(name).op(Action::GetVariable);
}

ActionBlock property(std::string_view target, Property which) {
    return ActionBlock().push(target).push(static_cast<int>(which)).op(Action::GetProperty);
}

ActionBlock plus(ActionBlock left, const ActionBlock& right) {
    return binary(std::move(left), right, Action::Add2);
}

ActionBlock minus(ActionBlock left, const ActionBlock& right) {
    return binary(std::move(left), right, Action::Subtract);
}

ActionBlock less(ActionBlock left, const ActionBlock& right) {
    return binary(std::move(left), right, Action::Less2);
}

ActionBlock greater(ActionBlock left, const ActionBlock& right) {
    return binary(std::move(left), right, Action::Greater);
}

ActionBlock randomBelow(int limit) {
    return ActionBlock().push(limit).op(Action::RandomNumber);
}

ActionBlock keyDown(int keyCode) {
    // Key.isDown(keyCode): arguments, their count, the object, then the method name.
    return ActionBlock()
        .push(keyCode)
        .push(1)
        .push("Key")
        .op(Action::GetVariable)
        .push("isDown")
        .op(Action::CallMethod);
}

ActionBlock mouseX() {
    return ActionBlock()
        .push("_root")
        .op(Action::GetVariable)
        .push("_xmouse")
        .op(Action::GetMember);
}

ActionBlock member(ActionBlock object, std::string_view name) {
    object.push(name).op(Action::GetMember);
    return object;
}

ActionBlock callMethod(ActionBlock object, std::string_view method,
                       const std::vector<ActionBlock>& arguments) {
    return invocation(object, method, arguments, Action::CallMethod);
}

ActionBlock construct(ActionBlock owner, std::string_view className,
                      const std::vector<ActionBlock>& arguments) {
    return invocation(owner, className, arguments, Action::NewMethod);
}

ActionBlock discard(ActionBlock value) {
    value.op(Action::Pop);
    return value;
}

ActionBlock setVariable(std::string_view name, const ActionBlock& value) {
    return ActionBlock().push(name).append(value).op(Action::SetVariable);
}

ActionBlock setMember(ActionBlock object, std::string_view name, const ActionBlock& value) {
    object.push(name).append(value).op(Action::SetMember);
    return object;
}

ActionBlock setProperty(std::string_view target, Property which, const ActionBlock& value) {
    return ActionBlock()
        .push(target)
        .push(static_cast<int>(which))
        .append(value)
        .op(Action::SetProperty);
}

ActionBlock moveBy(std::string_view target, Property which, const ActionBlock& delta) {
    return setProperty(target, which, plus(property(target, which), delta));
}

ActionBlock when(ActionBlock condition, const ActionBlock& body) {
    condition.onlyIf(body);
    return condition;
}

ActionBlock clamp(std::string_view target, Property which, int low, int high) {
    return when(less(property(target, which), number(low)), setProperty(target, which, number(low)))
        .append(when(greater(property(target, which), number(high)),
                     setProperty(target, which, number(high))));
}

ActionBlock onMouseDown(const ActionBlock& body) {
    return ActionBlock()
        .push("_root")
        .op(Action::GetVariable)
        .push("onMouseDown")
        .defineFunction(body)
        .op(Action::SetMember);
}

ActionBlock fscommand(std::string_view command, std::string_view arguments) {
    return ActionBlock().getUrl("FSCommand:" + std::string(command), arguments);
}

ActionBlock setStageDisplayState(std::string_view state) {
    return ActionBlock()
        .push("Stage")
        .op(Action::GetVariable)
        .push("displayState")
        .push(state)
        .op(Action::SetMember);
}

ActionBlock near(std::string_view first, std::string_view second, int distance,
                 const ActionBlock& body) {
    auto gap = [&](Property axis) {
        return minus(property(first, axis), property(second, axis));
    };
    auto within = [&](Property axis, const ActionBlock& inner) {
        return when(less(gap(axis), number(distance)),
                    when(greater(gap(axis), number(-distance)), inner));
    };
    return within(Property::X, within(Property::Y, body));
}

} // namespace swf::script
