#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace swf {

using Bytes = std::vector<uint8_t>;

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

class ActionBlock;

// SWF packs its records as bit fields, most significant bit first.
class BitWriter {
public:
    void unsignedBits(uint32_t value, int count);
    void signedBits(int32_t value, int count);
    // Pads to the next byte boundary and hands back everything written.
    Bytes finish();

private:
    Bytes bytes_;
    int used_ = 8;
};

// Fewest bits that hold value as a two's complement field.
int signedBitCount(int32_t value);

// One closed outline with a single solid fill; coordinates in pixels around the origin.
class Shape {
public:
    explicit Shape(Rgb fill) : fill_(fill) {}

    static Shape rectangle(Rgb fill, int width, int height);
    static Shape ellipse(Rgb fill, int radiusX, int radiusY);
    static Shape polygon(Rgb fill, const std::vector<std::pair<int, int>>& points);

    Shape& moveTo(int x, int y);
    Shape& lineTo(int x, int y);
    Shape& curveTo(int controlX, int controlY, int x, int y);

    // Body of a DefineShape tag for the given character id.
    Bytes defineShapeBody(uint16_t characterId) const;

private:
    struct Segment {
        enum class Kind { Move, Line, Curve } kind;
        int controlX, controlY, x, y;
    };
    Rgb fill_;
    std::vector<Segment> segments_;
};

enum class Compression { None, Zlib };

// Builds a movie tag by tag; frames are counted by showFrame().
class MovieWriter {
public:
    MovieWriter(uint8_t version, int widthPixels, int heightPixels, int framesPerSecond);

    void setBackground(Rgb colour);
    uint16_t defineShape(const Shape& shape);
    // A 32-bit lossless bitmap (premultiplied ARGB rows); stored without compression so its
    // size in the file is predictable.
    uint16_t defineBitmap(int width, int height, const Bytes& argb);
    // A one-frame movie clip showing the character at its origin. Scripts can address only
    // clips by instance name; a named shape is no target and they would act on the root.
    uint16_t defineSprite(uint16_t characterId);
    void place(uint16_t characterId, uint16_t depth, int x, int y, const std::string& name = {});
    void remove(uint16_t depth);
    void doAction(const ActionBlock& actions);
    void showFrame();
    // A tag written as given, for kinds the writer does not make itself.
    void tag(uint16_t code, const Bytes& body);
    Bytes finish(Compression compression);

private:
    uint8_t version_;
    int width_;
    int height_;
    int framesPerSecond_;
    uint16_t frameCount_ = 0;
    uint16_t nextCharacterId_ = 1;
    Bytes tags_;
};

} // namespace swf
