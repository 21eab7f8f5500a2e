#include "name_card.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <vector>

namespace {

// A font that holds Chinese; scripts/setup-deps installs it.
constexpr const char* kFontFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
constexpr int kFontPixels = 14;
constexpr int kMargin = 4;
constexpr int kInkLevels = 4; // palette entries 1..4: ink at a quarter, half, three quarters, full

std::u32string codePoints(std::string_view utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<uint8_t>(utf8[i]);
        const size_t length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : 4;
        if (i + length > utf8.size())
            break;
        char32_t c = length == 1 ? lead : lead & (0x3f >> (length - 1));
        for (size_t k = 1; k < length; ++k)
            c = c << 6 | (static_cast<uint8_t>(utf8[i + k]) & 0x3f);
        out.push_back(c);
        i += length;
    }
    return out;
}

swf::Rgb mix(swf::Rgb from, swf::Rgb to, int level) {
    auto part = [&](uint8_t a, uint8_t b) {
        return static_cast<uint8_t>((a * (kInkLevels - level) + b * level) / kInkLevels);
    };
    return {part(from.r, to.r), part(from.g, to.g), part(from.b, to.b)};
}

struct Glyph {
    int left, top, advance, width, rows;
    std::vector<uint8_t> coverage;
};

struct Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face() {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

std::vector<Glyph> glyphsOf(const std::u32string& text) {
    Face font;
    std::vector<Glyph> glyphs;
    if (FT_Init_FreeType(&font.library) || FT_New_Face(font.library, kFontFile, 0, &font.face) ||
        FT_Set_Pixel_Sizes(font.face, 0, kFontPixels))
        return glyphs;
    for (char32_t c : text) {
        if (FT_Load_Char(font.face, c, FT_LOAD_RENDER))
            continue;
        const FT_GlyphSlot slot = font.face->glyph;
        Glyph glyph{slot->bitmap_left,       slot->bitmap_top,       int(slot->advance.x >> 6),
                    int(slot->bitmap.width), int(slot->bitmap.rows), {}};
        for (int y = 0; y < glyph.rows; ++y)
            for (int x = 0; x < glyph.width; ++x)
                glyph.coverage.push_back(slot->bitmap.buffer[y * slot->bitmap.pitch + x]);
        glyphs.push_back(std::move(glyph));
    }
    return glyphs;
}

} // namespace

IndexedImage nameCard(std::string_view name, swf::Rgb background, int width, int height) {
    const bool dark = background.r * 299 + background.g * 587 + background.b * 114 < 128000;
    const swf::Rgb ink = dark ? swf::Rgb{255, 255, 255} : swf::Rgb{0, 0, 0};
    IndexedImage card{width, height, {}, std::vector<uint8_t>(size_t(width) * height, 0)};
    for (int level = 0; level <= kInkLevels; ++level)
        card.palette.push_back(mix(background, ink, level));
    const std::vector<Glyph> glyphs = glyphsOf(codePoints(name));
    // Lay the glyphs out in lines first, to centre the block they make.
    std::vector<std::pair<size_t, int>> lines; // first glyph, line width
    int lineWidth = 0;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        if (lines.empty() || lineWidth + glyphs[i].advance > width - 2 * kMargin) {
            if (!lines.empty())
                lines.back().second = lineWidth;
            lines.push_back({i, 0});
            lineWidth = 0;
        }
        lineWidth += glyphs[i].advance;
    }
    if (!lines.empty())
        lines.back().second = lineWidth;
    const int lineHeight = kFontPixels + 3;
    int baseline = (height - int(lines.size()) * lineHeight) / 2 + kFontPixels;
    for (size_t l = 0; l < lines.size(); ++l, baseline += lineHeight) {
        const size_t end = l + 1 < lines.size() ? lines[l + 1].first : glyphs.size();
        int pen = (width - lines[l].second) / 2;
        for (size_t i = lines[l].first; i < end; pen += glyphs[i].advance, ++i)
            for (int y = 0; y < glyphs[i].rows; ++y)
                for (int x = 0; x < glyphs[i].width; ++x) {
                    const int px = pen + glyphs[i].left + x;
                    const int py = baseline - glyphs[i].top + y;
                    const uint8_t cover = glyphs[i].coverage[size_t(y * glyphs[i].width + x)];
                    if (px >= 0 && py >= 0 && px < width && py < height && cover > 0)
                        card.pixels[size_t(py) * size_t(width) + size_t(px)] =
                            static_cast<uint8_t>((cover * kInkLevels + 127) / 255);
                }
    }
    return card;
}
