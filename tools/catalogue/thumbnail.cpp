#include "thumbnail.h"

namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 90;

enum Ink : uint8_t { Background, Main, Accent, White };

class Canvas {
public:
    explicit Canvas(IndexedImage& image) : image_(image) {}

    void fillRect(int x0, int y0, int x1, int y1, Ink ink) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                set(x, y, ink);
    }

    void fillCircle(int cx, int cy, int radius, Ink ink) {
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
                    set(x, y, ink);
    }

private:
    void set(int x, int y, Ink ink) {
        if (x >= 0 && y >= 0 && x < image_.width && y < image_.height)
            image_.pixels[static_cast<size_t>(y) * image_.width + x] = ink;
    }

    IndexedImage& image_;
};

} // namespace

std::vector<uint8_t> IndexedImage::rgbRows() const {
    std::vector<uint8_t> rgb;
    rgb.reserve(pixels.size() * 3);
    for (uint8_t index : pixels)
        rgb.insert(rgb.end(), {palette[index].r, palette[index].g, palette[index].b});
    return rgb;
}

IndexedImage drawThumbnail(const swf::GamePalette& colours, std::string_view name) {
    IndexedImage image{
        kWidth, kHeight, {colours.background, colours.main, colours.accent, {255, 255, 255}}, {}};
    image.pixels.assign(static_cast<size_t>(kWidth) * kHeight, Background);
    Canvas canvas(image);
    canvas.fillRect(0, 0, kWidth, 4, Accent);
    canvas.fillRect(0, kHeight - 4, kWidth, kHeight, Accent);
    canvas.fillCircle(32, 38, 22, Main);
    canvas.fillCircle(26, 31, 6, White);
    // One bar per byte of the name: its height from the byte, its colour alternating.
    int x = 62;
    for (size_t i = 0; i < name.size() && x + 5 <= kWidth - 4; ++i, x += 6) {
        const int height = 8 + static_cast<uint8_t>(name[i]) % 40;
        canvas.fillRect(x, 62 - height, x + 5, 62, i % 2 ? Accent : Main);
    }
    canvas.fillRect(8, 70, kWidth - 8, 78, Main);
    return image;
}
