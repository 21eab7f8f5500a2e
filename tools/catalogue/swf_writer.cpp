#include "swf_writer.h"

#include "swf_actions.h"
#include "swf_tags.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <zlib.h>

namespace swf {
namespace {

constexpr int kTwipsPerPixel = 20;

void putU16(Bytes& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xff));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void putU32(Bytes& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>((value >> shift) & 0xff));
}

void append(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

Bytes rect(int xMin, int xMax, int yMin, int yMax) {
    const int bits = std::max(
        {signedBitCount(xMin), signedBitCount(xMax), signedBitCount(yMin), signedBitCount(yMax)});
    BitWriter writer;
    writer.unsignedBits(static_cast<uint32_t>(bits), 5);
    for (int value : {xMin, xMax, yMin, yMax})
        writer.signedBits(value, bits);
    return writer.finish();
}

Bytes zlibCompress(const uint8_t* data, size_t size, int level) {
    uLongf capacity = compressBound(size);
    Bytes out(capacity);
    if (compress2(out.data(), &capacity, data, size, level) != Z_OK)
        throw std::runtime_error("zlib compression failed");
    out.resize(capacity);
    return out;
}

// Edge deltas share one field width, at least 2 bits as the format requires.
int edgeBits(std::initializer_list<int> deltas) {
    int bits = 2;
    for (int delta : deltas)
        bits = std::max(bits, signedBitCount(delta));
    if (bits > 17)
        throw std::invalid_argument("shape edge too long");
    return bits;
}

Bytes placeObjectBody(uint16_t characterId, uint16_t depth, int x, int y, const std::string& name) {
    Bytes body;
    body.push_back(static_cast<uint8_t>(0x06 | (name.empty() ? 0 : 0x20))); // character, matrix
    putU16(body, depth);
    putU16(body, characterId);
    const int tx = x * kTwipsPerPixel;
    const int ty = y * kTwipsPerPixel;
    const int bits = std::max(signedBitCount(tx), signedBitCount(ty));
    BitWriter matrix;
    matrix.unsignedBits(0, 2); // no scale, no rotation
    matrix.unsignedBits(static_cast<uint32_t>(bits), 5);
    matrix.signedBits(tx, bits);
    matrix.signedBits(ty, bits);
    append(body, matrix.finish());
    if (!name.empty()) {
        body.insert(body.end(), name.begin(), name.end());
        body.push_back(0);
    }
    return body;
}

void appendTag(Bytes& out, uint16_t code, const Bytes& body) {
    // Short headers hold lengths below 63; 0x3f announces a 32-bit length.
    if (body.size() < 0x3f) {
        putU16(out, static_cast<uint16_t>((code << 6) | body.size()));
    } else {
        putU16(out, static_cast<uint16_t>((code << 6) | 0x3f));
        putU32(out, static_cast<uint32_t>(body.size()));
    }
    append(out, body);
}

} // namespace

void BitWriter::unsignedBits(uint32_t value, int count) {
    for (int bit = count - 1; bit >= 0; --bit) {
        if (used_ == 8) {
            bytes_.push_back(0);
            used_ = 0;
        }
        if ((value >> bit) & 1u)
            bytes_.back() |= static_cast<uint8_t>(0x80u >> used_);
        ++used_;
    }
}

void BitWriter::signedBits(int32_t value, int count) {
    unsignedBits(static_cast<uint32_t>(value) & ((count == 32) ? ~0u : ((1u << count) - 1)), count);
}

Bytes BitWriter::finish() {
    used_ = 8;
    return std::move(bytes_);
}

int signedBitCount(int32_t value) {
    int bits = 1;
    while (value < -(1 << (bits - 1)) || value >= (1 << (bits - 1)))
        ++bits;
    return bits;
}

Shape Shape::rectangle(Rgb fill, int width, int height) {
    const int x = width / 2;
    const int y = height / 2;
    return polygon(fill, {{-x, -y}, {x, -y}, {x, y}, {-x, y}});
}

Shape Shape::ellipse(Rgb fill, int radiusX, int radiusY) {
    // Eight quadratic curves; control points lie on the circumscribed octagon.
    constexpr double kPi = 3.14159265358979323846;
    const double controlScale = 1.0 / std::cos(kPi / 8);
    Shape shape(fill);
    shape.moveTo(radiusX, 0);
    for (int step = 1; step <= 8; ++step) {
        const double middle = (step - 0.5) * kPi / 4;
        const double end = step * kPi / 4;
        shape.curveTo(static_cast<int>(std::lround(radiusX * controlScale * std::cos(middle))),
                      static_cast<int>(std::lround(radiusY * controlScale * std::sin(middle))),
                      static_cast<int>(std::lround(radiusX * std::cos(end))),
                      static_cast<int>(std::lround(radiusY * std::sin(end))));
    }
    return shape;
}

Shape Shape::polygon(Rgb fill, const std::vector<std::pair<int, int>>& points) {
    Shape shape(fill);
    shape.moveTo(points.front().first, points.front().second);
    for (size_t i = 1; i < points.size(); ++i)
        shape.lineTo(points[i].first, points[i].second);
    shape.lineTo(points.front().first, points.front().second);
    return shape;
}

Shape& Shape::moveTo(int x, int y) {
    segments_.push_back({Segment::Kind::Move, 0, 0, x, y});
    return *this;
}

Shape& Shape::lineTo(int x, int y) {
    segments_.push_back({Segment::Kind::Line, 0, 0, x, y});
    return *this;
}

Shape& Shape::curveTo(int controlX, int controlY, int x, int y) {
    segments_.push_back({Segment::Kind::Curve, controlX, controlY, x, y});
    return *this;
}

Bytes Shape::defineShapeBody(uint16_t characterId) const {
    int xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    for (const Segment& s : segments_) {
        xMin = std::min({xMin, s.x, s.controlX});
        xMax = std::max({xMax, s.x, s.controlX});
        yMin = std::min({yMin, s.y, s.controlY});
        yMax = std::max({yMax, s.y, s.controlY});
    }
    Bytes body;
    putU16(body, characterId);
    append(body, rect(xMin * kTwipsPerPixel, xMax * kTwipsPerPixel, yMin * kTwipsPerPixel,
                      yMax * kTwipsPerPixel));
    body.insert(body.end(), {1, 0x00, fill_.r, fill_.g, fill_.b}); // one solid fill style
    body.push_back(0);                                             // no line styles

    BitWriter records;
    records.unsignedBits(1, 4); // fill index bits
    records.unsignedBits(0, 4); // line index bits
    bool fillChosen = false;
    int penX = 0, penY = 0;
    for (const Segment& s : segments_) {
        const int x = s.x * kTwipsPerPixel;
        const int y = s.y * kTwipsPerPixel;
        if (s.kind == Segment::Kind::Move) {
            const int bits = std::max(signedBitCount(x), signedBitCount(y));
            records.unsignedBits(0, 1);                              // style change record
            records.unsignedBits(fillChosen ? 0b00001 : 0b00101, 5); // [fill style 1,] move to
            records.unsignedBits(static_cast<uint32_t>(bits), 5);
            records.signedBits(x, bits);
            records.signedBits(y, bits);
            if (!fillChosen)
                records.unsignedBits(1, 1);
            fillChosen = true;
        } else if (s.kind == Segment::Kind::Line) {
            const int bits = edgeBits({x - penX, y - penY});
            records.unsignedBits(0b11, 2); // straight edge
            records.unsignedBits(static_cast<uint32_t>(bits - 2), 4);
            records.unsignedBits(1, 1); // general line
            records.signedBits(x - penX, bits);
            records.signedBits(y - penY, bits);
        } else {
            const int cx = s.controlX * kTwipsPerPixel;
            const int cy = s.controlY * kTwipsPerPixel;
            const int bits = edgeBits({cx - penX, cy - penY, x - cx, y - cy});
            records.unsignedBits(0b10, 2); // curved edge
            records.unsignedBits(static_cast<uint32_t>(bits - 2), 4);
            records.signedBits(cx - penX, bits);
            records.signedBits(cy - penY, bits);
            records.signedBits(x - cx, bits);
            records.signedBits(y - cy, bits);
        }
        penX = x;
        penY = y;
    }
    records.unsignedBits(0, 6); // end of shape
    append(body, records.finish());
    return body;
}

MovieWriter::MovieWriter(uint8_t version, int widthPixels, int heightPixels, int framesPerSecond)
    : version_(version), width_(widthPixels), height_(heightPixels),
      framesPerSecond_(framesPerSecond) {
    // Version 8 movies open with their attributes; all clear means ActionScript 1/2.
    if (version_ >= 8)
        tag(FileAttributes, {0, 0, 0, 0});
}

void MovieWriter::setBackground(Rgb colour) {
    tag(SetBackgroundColor, {colour.r, colour.g, colour.b});
}

uint16_t MovieWriter::defineShape(const Shape& shape) {
    const uint16_t id = nextCharacterId_++;
    tag(DefineShape, shape.defineShapeBody(id));
    return id;
}

uint16_t MovieWriter::defineBitmap(int width, int height, const Bytes& argb) {
    const uint16_t id = nextCharacterId_++;
    Bytes body;
    putU16(body, id);
    body.push_back(5); // 32-bit ARGB
    putU16(body, static_cast<uint16_t>(width));
    putU16(body, static_cast<uint16_t>(height));
    append(body, zlibCompress(argb.data(), argb.size(), Z_NO_COMPRESSION));
    tag(DefineBitsLossless2, body);
    return id;
}

uint16_t MovieWriter::defineSprite(uint16_t characterId) {
    const uint16_t id = nextCharacterId_++;
    Bytes body;
    putU16(body, id);
    putU16(body, 1); // frame count
    appendTag(body, PlaceObject2, placeObjectBody(characterId, 1, 0, 0, {}));
    appendTag(body, ShowFrame, {});
    appendTag(body, End, {});
    tag(DefineSprite, body);
    return id;
}

void MovieWriter::place(uint16_t characterId, uint16_t depth, int x, int y,
                        const std::string& name) {
    tag(PlaceObject2, placeObjectBody(characterId, depth, x, y, name));
}

void MovieWriter::remove(uint16_t depth) {
    Bytes body;
    putU16(body, depth);
    tag(RemoveObject2, body);
}

void MovieWriter::doAction(const ActionBlock& actions) {
    Bytes body = actions.bytes();
    body.push_back(0); // end of actions
    tag(DoAction, body);
}

void MovieWriter::showFrame() {
    tag(ShowFrame, {});
    ++frameCount_;
}

Bytes MovieWriter::finish(Compression compression) {
    tag(End, {});
    Bytes movie = rect(0, width_ * kTwipsPerPixel, 0, height_ * kTwipsPerPixel);
    putU16(movie, static_cast<uint16_t>(framesPerSecond_ << 8)); // 8.8 fixed point
    putU16(movie, frameCount_);
    append(movie, tags_);

    Bytes file{static_cast<uint8_t>(compression == Compression::Zlib ? 'C' : 'F'), 'W', 'S',
               version_};
    putU32(file, static_cast<uint32_t>(8 + movie.size())); // always the uncompressed length
    append(file, compression == Compression::Zlib
                     ? zlibCompress(movie.data(), movie.size(), Z_BEST_COMPRESSION)
                     : movie);
    return file;
}

void MovieWriter::tag(uint16_t code, const Bytes& body) {
    appendTag(tags_, code, body);
}

} // namespace swf
