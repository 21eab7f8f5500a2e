// The picture a game gets from its own movie: the largest embedded bitmap that decodes, with its
// alpha over the stage colour, fitted into the client's frame; a card when there is none.
#include "game_picture.h"
#include "swf_pictures.h"
#include "swf_tags.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using swf::Bytes;

void putU16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

Bytes packed(const Bytes& plain) {
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    Bytes out(size);
    compress(out.data(), &size, plain.data(), static_cast<uLong>(plain.size()));
    out.resize(size);
    return out;
}

Bytes solidJpeg(int width, int height, swf::Rgb colour) {
    std::vector<uint8_t> rgb;
    for (int i = 0; i < width * height; ++i)
        rgb.insert(rgb.end(), {colour.r, colour.g, colour.b});
    const std::string jpeg = encodeTrueColourJpeg(width, height, rgb);
    return {jpeg.begin(), jpeg.end()};
}

// DefineBitsJPEG3: the JPEG's length, the JPEG (after the empty one old tools put first), and
// the packed alpha: the left half clear, the right half opaque.
Bytes jpegWithAlpha(uint16_t id, int width, int height, swf::Rgb colour) {
    Bytes jpeg = {0xff, 0xd9, 0xff, 0xd8};
    const Bytes real = solidJpeg(width, height, colour);
    jpeg.insert(jpeg.end(), real.begin(), real.end());
    Bytes body;
    putU16(body, id);
    putU16(body, static_cast<uint32_t>(jpeg.size()));
    putU16(body, static_cast<uint32_t>(jpeg.size()) >> 16);
    body.insert(body.end(), jpeg.begin(), jpeg.end());
    Bytes alpha;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            alpha.push_back(x < width / 2 ? 0 : 255);
    const Bytes alphaPacked = packed(alpha);
    body.insert(body.end(), alphaPacked.begin(), alphaPacked.end());
    return body;
}

// DefineBitsLossless with a colour table; rows padded to four bytes.
Bytes colourMapped(uint16_t id, int size, swf::Rgb colour) {
    Bytes body;
    putU16(body, id);
    body.push_back(3);
    putU16(body, static_cast<uint32_t>(size));
    putU16(body, static_cast<uint32_t>(size));
    body.push_back(0); // one entry
    Bytes data = {colour.r, colour.g, colour.b};
    data.resize(data.size() + static_cast<size_t>((size + 3) / 4 * 4 * size), 0);
    const Bytes dataPacked = packed(data);
    body.insert(body.end(), dataPacked.begin(), dataPacked.end());
    return body;
}

struct Read {
    std::string movie;
    swf::MovieSummary summary;
};

Read readBack(const Bytes& file) {
    const std::string_view bytes(reinterpret_cast<const char*>(file.data()), file.size());
    Read read{swf::unpackMovie(bytes), {}};
    read.summary = swf::summarizeMovie(read.movie, swf::signatureOf(bytes));
    return read;
}

void expectNear(const uint8_t* pixel, swf::Rgb colour) {
    EXPECT_NEAR(pixel[0], colour.r, 40);
    EXPECT_NEAR(pixel[1], colour.g, 40);
    EXPECT_NEAR(pixel[2], colour.b, 40);
}

TEST(GamePicture, IsTheLargestPictureThatDecodesOverTheStageColour) {
    const swf::Rgb blue{0, 0, 255};
    const swf::Rgb red{255, 0, 0};
    swf::MovieWriter writer(10, 200, 100, 24);
    writer.setBackground(blue);
    writer.tag(swf::DefineBitsJPEG3, jpegWithAlpha(1, 40, 20, red));
    writer.tag(swf::DefineBitsLossless, colourMapped(2, 10, {0, 255, 0}));
    Bytes damaged = colourMapped(3, 60, {0, 255, 0});
    damaged.resize(damaged.size() - 8); // the biggest, but its data is cut short
    writer.tag(swf::DefineBitsLossless, damaged);
    writer.showFrame();
    const Read read = readBack(writer.finish(swf::Compression::Zlib));
    EXPECT_EQ(read.summary.signature, swf::Signature::Zlib);
    EXPECT_EQ(read.summary.stageWidth, 200);
    EXPECT_EQ(read.summary.stageHeight, 100);
    EXPECT_EQ(read.summary.frameRate, 24);
    EXPECT_EQ(read.summary.frameCount, 1);
    EXPECT_EQ(read.summary.pictures.size(), 3u);

    const GamePicture picture = gamePicture(read.movie, read.summary, "游戏");
    ASSERT_EQ(picture.format, PictureFormat::Jpeg);
    // Read the thumbnail back the same way, as the only picture of a movie of its own.
    swf::MovieWriter holder(10, kGamePictureWidth, kGamePictureHeight, 1);
    Bytes body(picture.bytes.begin(), picture.bytes.end());
    body.insert(body.begin(), {1, 0}); // the character id
    holder.tag(swf::DefineBitsJPEG2, body);
    const Read back = readBack(holder.finish(swf::Compression::None));
    const auto image = swf::largestPicture(back.movie, back.summary);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, kGamePictureWidth);
    ASSERT_EQ(image->height, kGamePictureHeight);
    auto at = [&](int x, int y) {
        return &image->rgba[size_t(y * image->width + x) * 4];
    };
    expectNear(at(20, 35), blue); // the clear half shows the stage
    expectNear(at(100, 35), red);
    expectNear(at(60, 1), blue); // the 2:1 picture leaves bands above and below
}

TEST(GamePicture, IsACardWhenTheMovieHoldsNoPicture) {
    swf::MovieWriter writer(8, 100, 100, 12);
    writer.setBackground({20, 120, 60});
    writer.showFrame();
    const Read read = readBack(writer.finish(swf::Compression::None));
    EXPECT_FALSE(read.summary.actionScript3);
    const GamePicture card = gamePicture(read.movie, read.summary, "泡泡龙");
    EXPECT_EQ(card.format, PictureFormat::Png);
    EXPECT_EQ(card.bytes.substr(0, 4), "\x89PNG");
}

} // namespace
