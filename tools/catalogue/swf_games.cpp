#include "swf_games.h"

#include "swf_script.h"

#include <stdexcept>

namespace swf {
namespace {

using namespace script;

constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr int kFramesPerSecond = 30;

// The classic looping timeline: frame 1 sets up, frame 2 runs one step, frame 3 jumps back
// to frame 2, so the setup runs once and the step runs every other frame.
Bytes loopingGame(MovieWriter& movie, const ActionBlock& setup, const ActionBlock& step,
                  Compression compression) {
    movie.doAction(setup);
    movie.showFrame();
    movie.doAction(step);
    movie.showFrame();
    movie.doAction(ActionBlock().gotoFrame(1).op(Action::Play));
    movie.showFrame();
    return movie.finish(compression);
}

MovieWriter startMovie(uint8_t version, const GamePalette& palette) {
    MovieWriter movie(version, kWidth, kHeight, kFramesPerSecond);
    movie.setBackground(palette.background);
    return movie;
}

// Scripts address things by instance name, which only movie clips carry, so every scripted
// shape sits in a clip of its own.
void placeClip(MovieWriter& movie, const Shape& shape, uint16_t depth, int x, int y,
               const std::string& name) {
    movie.place(movie.defineSprite(movie.defineShape(shape)), depth, x, y, name);
}

// The arrow keys move clip Name within the stage.
ActionBlock arrowSteps(std::string_view name) {
    ActionBlock step = when(keyDown(kKeyLeft), moveBy(name, Property::X, number(-6)));
    step.append(when(keyDown(kKeyRight), moveBy(name, Property::X, number(6))))
        .append(when(keyDown(kKeyUp), moveBy(name, Property::Y, number(-6))))
        .append(when(keyDown(kKeyDown), moveBy(name, Property::Y, number(6))))
        .append(clamp(name, Property::X, 15, kWidth - 15))
        .append(clamp(name, Property::Y, 15, kHeight - 15));
    return step;
}

Bytes arrowRunner(const GamePalette& palette) {
    MovieWriter movie = startMovie(8, palette);
    placeClip(movie, Shape::rectangle(palette.main, 30, 30), 1, 200, 150, "p");
    placeClip(movie, Shape::ellipse(palette.accent, 10, 10), 2, 80, 60, "c");
    ActionBlock step = arrowSteps("p");
    step.append(near(
        "p", "c", 25,
        setProperty("c", Property::X, plus(randomBelow(kWidth - 40), number(20)))
            .append(setProperty("c", Property::Y, plus(randomBelow(kHeight - 40), number(20))))));
    return loopingGame(movie, ActionBlock(), step, Compression::Zlib);
}

Bytes paddle(const GamePalette& palette) {
    constexpr int kPaddleY = 270;
    MovieWriter movie = startMovie(6, palette);
    placeClip(movie, Shape::rectangle(palette.main, 80, 12), 1, 200, kPaddleY, "p");
    placeClip(movie, Shape::ellipse(palette.accent, 9, 9), 2, 200, 40, "b");
    const ActionBlock setup = setVariable("vx", number(5)).append(setVariable("vy", number(6)));
    ActionBlock step = setProperty("p", Property::X, mouseX());
    step.append(clamp("p", Property::X, 40, kWidth - 40))
        .append(moveBy("b", Property::X, variable("vx")))
        .append(moveBy("b", Property::Y, variable("vy")))
        .append(when(less(property("b", Property::X), number(10)), setVariable("vx", number(5))))
        .append(when(greater(property("b", Property::X), number(kWidth - 10)),
                     setVariable("vx", number(-5))))
        .append(when(less(property("b", Property::Y), number(10)), setVariable("vy", number(6))))
        .append(near("b", "p", 45, setVariable("vy", number(-6))))
        .append(when(greater(property("b", Property::Y), number(kHeight + 20)),
                     setProperty("b", Property::Y, number(40))));
    return loopingGame(movie, setup, step, Compression::None);
}

Bytes fish(const GamePalette& palette) {
    MovieWriter movie = startMovie(7, palette);
    placeClip(movie, Shape::ellipse(palette.main, 24, 12), 1, 80, 150, "f");
    placeClip(movie, Shape::polygon(palette.accent, {{0, -30}, {25, 30}, {-25, 30}}), 2,
              kWidth + 30, 200, "r");
    ActionBlock step = when(keyDown(kKeyUp), moveBy("f", Property::Y, number(-5)));
    step.append(when(keyDown(kKeyDown), moveBy("f", Property::Y, number(5))))
        .append(clamp("f", Property::Y, 15, kHeight - 15))
        .append(moveBy("r", Property::X, number(-5)))
        .append(when(less(property("r", Property::X), number(-30)),
                     setProperty("r", Property::X, number(kWidth + 30))
                         .append(setProperty("r", Property::Y,
                                             plus(randomBelow(kHeight - 60), number(30))))))
        .append(near("f", "r", 30, setProperty("f", Property::Alpha, number(40))));
    return loopingGame(movie, ActionBlock(), step, Compression::Zlib);
}

Bytes jumper(const GamePalette& palette) {
    constexpr int kGround = 250;
    MovieWriter movie = startMovie(8, palette);
    movie.place(movie.defineShape(Shape::rectangle(palette.accent, kWidth, 30)), 1, kWidth / 2,
                kGround + 35);
    placeClip(movie, Shape::ellipse(palette.main, 18, 18), 2, 200, kGround, "p");
    const ActionBlock setup = setVariable("vy", number(0));
    ActionBlock step = when(keyDown(kKeyLeft), moveBy("p", Property::X, number(-5)));
    step.append(when(keyDown(kKeyRight), moveBy("p", Property::X, number(5))))
        .append(clamp("p", Property::X, 18, kWidth - 18))
        .append(when(keyDown(kKeyUp), when(greater(property("p", Property::Y), number(kGround - 1)),
                                           setVariable("vy", number(-16)))))
        .append(setVariable("vy", plus(variable("vy"), number(1))))
        .append(moveBy("p", Property::Y, variable("vy")))
        .append(when(
            greater(property("p", Property::Y), number(kGround)),
            setProperty("p", Property::Y, number(kGround)).append(setVariable("vy", number(0)))));
    return loopingGame(movie, setup, step, Compression::None);
}

Bytes windmill(const GamePalette& palette) {
    MovieWriter movie = startMovie(6, palette);
    movie.place(movie.defineShape(Shape::rectangle(palette.accent, 16, 140)), 1, 200, 220);
    const Shape blades = Shape::polygon(palette.main, {{0, 0},
                                                       {-20, -90},
                                                       {20, -90},
                                                       {0, 0},
                                                       {90, -20},
                                                       {90, 20},
                                                       {0, 0},
                                                       {20, 90},
                                                       {-20, 90},
                                                       {0, 0},
                                                       {-90, 20},
                                                       {-90, -20}});
    placeClip(movie, blades, 2, 200, 150, "w");
    return loopingGame(movie, ActionBlock(), moveBy("w", Property::Rotation, number(8)),
                       Compression::Zlib);
}

Bytes bouncingBall(const GamePalette& palette) {
    constexpr int kFloor = 270;
    MovieWriter movie = startMovie(7, palette);
    placeClip(movie, Shape::ellipse(palette.main, 20, 20), 1, 60, 40, "b");
    const ActionBlock setup = setVariable("vx", number(4)).append(setVariable("vy", number(0)));
    ActionBlock step = setVariable("vy", plus(variable("vy"), number(1)));
    step.append(moveBy("b", Property::X, variable("vx")))
        .append(moveBy("b", Property::Y, variable("vy")))
        .append(when(
            greater(property("b", Property::Y), number(kFloor)),
            setProperty("b", Property::Y, number(kFloor)).append(setVariable("vy", number(-18)))))
        .append(when(greater(property("b", Property::X), number(kWidth - 20)),
                     setVariable("vx", number(-4))))
        .append(when(less(property("b", Property::X), number(20)), setVariable("vx", number(4))));
    return loopingGame(movie, setup, step, Compression::None);
}

Bytes trafficLight(const GamePalette& palette) {
    constexpr int kFramesPerLamp = 45;
    constexpr uint16_t kLitDepth = 10;
    MovieWriter movie = startMovie(6, palette);
    movie.place(movie.defineShape(Shape::rectangle(palette.accent, 80, 220)), 1, 200, 150);
    const Rgb dim{60, 60, 60};
    const uint16_t dimLamp = movie.defineShape(Shape::ellipse(dim, 28, 28));
    for (int lamp = 0; lamp < 3; ++lamp)
        movie.place(dimLamp, static_cast<uint16_t>(2 + lamp), 200, 80 + 70 * lamp);
    const Rgb colours[] = {{230, 30, 30}, {240, 200, 20}, {30, 200, 60}};
    for (int lamp = 0; lamp < 3; ++lamp) {
        if (lamp > 0)
            movie.remove(kLitDepth);
        movie.place(movie.defineShape(Shape::ellipse(colours[lamp], 28, 28)), kLitDepth, 200,
                    80 + 70 * lamp);
        for (int frame = 0; frame < kFramesPerLamp; ++frame)
            movie.showFrame();
    }
    return movie.finish(Compression::Zlib);
}

Bytes pulse(const GamePalette& palette) {
    MovieWriter movie = startMovie(8, palette);
    placeClip(movie, Shape::ellipse(palette.main, 60, 60), 1, 200, 150, "c");
    const ActionBlock setup = setVariable("d", number(4));
    ActionBlock step = moveBy("c", Property::XScale, variable("d"));
    step.append(setProperty("c", Property::YScale, property("c", Property::XScale)))
        .append(setProperty("c", Property::Alpha, property("c", Property::XScale)))
        .append(when(greater(property("c", Property::XScale), number(150)),
                     setVariable("d", number(-4))))
        .append(
            when(less(property("c", Property::XScale), number(50)), setVariable("d", number(4))));
    return loopingGame(movie, setup, step, Compression::None);
}

Bytes clickCounter(const GamePalette& palette) {
    MovieWriter movie = startMovie(8, palette);
    placeClip(movie, Shape::rectangle(palette.main, 30, 30), 1, 200, 150, "p");
    placeClip(movie, Shape::ellipse(palette.accent, 10, 10), 2, 20, 280, "k");
    ActionBlock setup = onMouseDown(moveBy("k", Property::X, number(40)));
    setup.append(setStageDisplayState("fullScreen"))
        .append(fscommand("fullscreen", "true"))
        .append(fscommand("allowscale", "false"))
        .append(fscommand("quit", ""));
    return loopingGame(movie, setup, arrowSteps("p"), Compression::Zlib);
}

Bytes bitmapCopy(const GamePalette& palette) {
    MovieWriter movie = startMovie(8, palette);
    placeClip(movie, Shape::rectangle(palette.main, 200, 150), 1, 200, 150, "s");
    const auto colour = [](Rgb rgb) {
        return number((rgb.r << 16) | (rgb.g << 8) | rgb.b);
    };
    ActionBlock script = setVariable(
        "b", construct(member(variable("flash"), "display"), "BitmapData",
                       {number(kWidth), number(kHeight), number(0), colour(palette.accent)}));
    script.append(discard(callMethod(variable("b"), "draw", {variable("s")})))
        .append(discard(callMethod(variable("_root"), "createEmptyMovieClip",
                                   {ActionBlock().push("h"), number(10)})))
        .append(discard(callMethod(variable("h"), "attachBitmap", {variable("b"), number(1)})))
        .append(setProperty("s", Property::Visible, number(0)))
        .op(Action::Stop);
    movie.doAction(script);
    movie.showFrame();
    return movie.finish(Compression::Zlib);
}

// Version 6: there an undefined count adds up as 0, so the first visit counts 1.
Bytes saveCounter(const GamePalette& palette) {
    MovieWriter movie = startMovie(6, palette);
    placeClip(movie, Shape::rectangle(palette.main, 20, 20), 1, 20, 150, "m");
    const ActionBlock visits = member(member(variable("s"), "data"), "visits");
    ActionBlock script = setVariable(
        "s", callMethod(variable("SharedObject"), "getLocal", {ActionBlock().push("progress")}));
    script.append(setMember(member(variable("s"), "data"), "visits", plus(visits, number(1))))
        .append(discard(callMethod(variable("s"), "flush", {})))
        .append(setProperty("m", Property::X,
                            plus(number(20), ActionBlock(visits).push(30).op(Action::Multiply))))
        .append(clamp("m", Property::X, 20, kWidth - 20))
        .op(Action::Stop);
    movie.doAction(script);
    movie.showFrame();
    return movie.finish(Compression::Zlib);
}

Bytes starrySky(int size, Rgb sky) {
    // Deterministic sparse stars; the bitmap is what makes this game several megabytes.
    Bytes argb(static_cast<size_t>(size) * size * 4);
    uint32_t seed = 12345;
    for (size_t pixel = 0; pixel < argb.size(); pixel += 4) {
        seed = seed * 1103515245u + 12345u;
        const bool star = (seed >> 16) % 300 == 0;
        argb[pixel] = 255;
        argb[pixel + 1] = star ? 255 : sky.r;
        argb[pixel + 2] = star ? 255 : sky.g;
        argb[pixel + 3] = star ? 230 : sky.b;
    }
    return argb;
}

Bytes starField(const GamePalette& palette) {
    constexpr int kSkySize = 1024;
    MovieWriter movie = startMovie(8, palette);
    movie.defineBitmap(kSkySize, kSkySize, starrySky(kSkySize, palette.background));
    placeClip(movie, Shape::ellipse(palette.main, 40, 40), 1, -40, 150, "p");
    placeClip(movie, Shape::ellipse(palette.accent, 70, 8), 2, -40, 150, "r");
    ActionBlock step = moveBy("p", Property::X, number(2));
    step.append(setProperty("r", Property::X, property("p", Property::X)))
        .append(when(greater(property("p", Property::X), number(kWidth + 80)),
                     setProperty("p", Property::X, number(-80))));
    return loopingGame(movie, ActionBlock(), step, Compression::None);
}

} // namespace

GamePalette paletteOf(GameKind kind) {
    switch (kind) {
    case GameKind::ArrowRunner:
        return {{20, 30, 60}, {80, 200, 255}, {255, 210, 40}};
    case GameKind::Paddle:
        return {{10, 60, 30}, {240, 240, 240}, {255, 120, 30}};
    case GameKind::Fish:
        return {{20, 90, 170}, {255, 140, 0}, {110, 110, 120}};
    case GameKind::Jumper:
        return {{170, 220, 255}, {220, 40, 80}, {60, 160, 60}};
    case GameKind::Windmill:
        return {{150, 210, 120}, {250, 250, 250}, {140, 90, 50}};
    case GameKind::BouncingBall:
        return {{250, 240, 200}, {200, 30, 160}, {90, 90, 90}};
    case GameKind::TrafficLight:
        return {{40, 40, 50}, {230, 30, 30}, {20, 20, 20}};
    case GameKind::Pulse:
        return {{30, 0, 40}, {255, 80, 200}, {120, 60, 255}};
    case GameKind::StarField:
        return {{5, 5, 30}, {230, 180, 90}, {200, 200, 230}};
    case GameKind::ClickCounter:
        return {{235, 235, 215}, {40, 110, 190}, {210, 50, 50}};
    case GameKind::BitmapCopy:
        return {{120, 120, 120}, {250, 150, 20}, {20, 60, 40}};
    case GameKind::SaveCounter:
        return {{245, 225, 235}, {90, 40, 120}, {40, 40, 40}};
    }
    throw std::invalid_argument("unknown game kind");
}

Bytes makeLoader(std::string_view address, Rgb background) {
    MovieWriter movie(8, kWidth, kHeight, kFramesPerSecond);
    movie.setBackground(background);
    movie.doAction(ActionBlock().getUrl(address, "_level0").op(Action::Stop));
    movie.showFrame();
    return movie.finish(Compression::None);
}

Bytes makeGame(GameKind kind) {
    return makeGame(kind, paletteOf(kind));
}

Bytes makeGame(GameKind kind, const GamePalette& palette) {
    switch (kind) {
    case GameKind::ArrowRunner:
        return arrowRunner(palette);
    case GameKind::Paddle:
        return paddle(palette);
    case GameKind::Fish:
        return fish(palette);
    case GameKind::Jumper:
        return jumper(palette);
    case GameKind::Windmill:
        return windmill(palette);
    case GameKind::BouncingBall:
        return bouncingBall(palette);
    case GameKind::TrafficLight:
        return trafficLight(palette);
    case GameKind::Pulse:
        return pulse(palette);
    case GameKind::StarField:
        return starField(palette);
    case GameKind::ClickCounter:
        return clickCounter(palette);
    case GameKind::BitmapCopy:
        return bitmapCopy(palette);
    case GameKind::SaveCounter:
        return saveCounter(palette);
    }
    throw std::invalid_argument("unknown game kind");
}

} // namespace swf
