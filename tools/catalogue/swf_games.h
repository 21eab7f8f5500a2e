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
    // Arrow keys move a square, every mouse press moves a marker one step: it shows whether a
    // click reached the movie. At its start it asks for full screen and sends fscommands, as
    // many old games do.
    ClickCounter,
    // A shape copied into a bitmap by BitmapData.draw and shown only through that copy, the way
    // framework games draw everything: the stage shows the shape only where draw works.
    BitmapCopy,
    // Counts its starts in a saved SharedObject ("progress", field "visits"); a marker steps
    // right at every start. Shows whether a save survived.
    SaveCounter,
};

inline constexpr std::array kAllGameKinds{
    GameKind::ArrowRunner, GameKind::Paddle,       GameKind::Fish,         GameKind::Jumper,
    GameKind::Windmill,    GameKind::BouncingBall, GameKind::TrafficLight, GameKind::Pulse,
    GameKind::StarField,   GameKind::ClickCounter, GameKind::BitmapCopy,   GameKind::SaveCounter,
};

struct GamePalette {
    Rgb background;
    Rgb main;
    Rgb accent;
};

GamePalette paletteOf(GameKind kind);
Bytes makeGame(GameKind kind);
// The same game in other colours: a different movie for every palette.
Bytes makeGame(GameKind kind, const GamePalette& palette);
// A movie that at once loads the movie at Address, relative to its own, in its place, as the
// loader movies of many games do; until then its stage is Background.
Bytes makeLoader(std::string_view address, Rgb background);

} // namespace swf
