#pragma once

#include "platform/flash_player.h"
#include "support/pump_events.h"

#include <functional>
#include <memory>
#include <optional>

// The player answers from its page, later. An answer that comes after its asker has stopped
// waiting (a test ended, a wait gave up) must not land on the asker's stack, long gone by then:
// it lands in memory the callback keeps alive.

// What the player says it plays; an empty state when it has not answered within Milliseconds.
inline TFlashPlayerState AskPlayerState(TFlashPlayer& player, int milliseconds = 10000) {
    const auto answer = std::make_shared<std::optional<TFlashPlayerState>>();
    player.QueryState([answer](const TFlashPlayerState& state) { *answer = state; });
    PumpEventsUntil([&] { return answer->has_value(); }, milliseconds);
    return answer->value_or(TFlashPlayerState{});
}

// Asks the player again and again until Condition holds of its answer; false when it did not
// within Milliseconds.
inline bool PlayerStateBecomes(TFlashPlayer& player,
                               const std::function<bool(const TFlashPlayerState&)>& condition,
                               int milliseconds = 20000) {
    return PumpEventsUntil([&] { return condition(AskPlayerState(player)); }, milliseconds);
}
