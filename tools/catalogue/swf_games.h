#pragma once

#include "swf_writer.h"

#include <array>

namespace swf {

// The catalogue's own games, each made from scratch by the SWF writer.
enum class GameKind {
    ArrowRunner,  // arrow keys move a square that collects coins
    Paddle,       // the mouse moves a paddle under a bouncing ball
    Fish,         // up/down keys steer a fish past rocks
    Jumper,       // arrow keys run and jump under gravity
    Windmill,     // turning blades
    BouncingBall, // a ball bouncing in a box
    TrafficLight, // timeline animation without script
    Pulse,        // a breathing circle
    StarField,    // several megabytes of starry sky bitmap, for progress bars
};

inline constexpr std::array kAllGameKinds{
    GameKind::ArrowRunner,  GameKind::Paddle,   GameKind::Fish,
    GameKind::Jumper,       GameKind::Windmill, GameKind::BouncingBall,
    GameKind::TrafficLight, GameKind::Pulse,    GameKind::StarField,
};

struct GamePalette {
    Rgb background;
    Rgb main;
    Rgb accent;
};

GamePalette paletteOf(GameKind kind);
Bytes makeGame(GameKind kind);

} // namespace swf
