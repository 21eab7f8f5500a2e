#include "library/picture_decoders.h"

#include <QScopeGuard>
#include <array>
#include <cstring>
#include <gif_lib.h>
#include <vector>

namespace {

struct TGifInput {
    const QByteArray& bytes;
    qsizetype offset = 0;
};

int ReadGifBytes(GifFileType* gif, GifByteType* out, int length) {
    auto* input = static_cast<TGifInput*>(gif->UserData);
    const qsizetype count = std::min<qsizetype>(length, input->bytes.size() - input->offset);
    std::memcpy(out, input->bytes.constData() + input->offset, size_t(count));
    input->offset += count;
    return int(count);
}

// Colours by index; indices beyond the map read as black, the transparent one as nothing.
std::array<QRgb, 256> ColourTable(const ColorMapObject& map, int transparentIndex) {
    std::array<QRgb, 256> table;
    table.fill(qRgb(0, 0, 0));
    for (int i = 0; i < std::min(map.ColorCount, 256); ++i)
        table[size_t(i)] = qRgb(map.Colors[i].Red, map.Colors[i].Green, map.Colors[i].Blue);
    if (transparentIndex >= 0 && transparentIndex < 256)
        table[size_t(transparentIndex)] = 0;
    return table;
}

// Interlaced frames arrive in four passes of rows.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    rows.reserve(size_t(height));
    constexpr std::array<std::pair<int, int>, 4> kPasses{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
    for (const auto& [start, step] : kPasses) {
        for (int y = interlaced ? start : 0; y < height; y += interlaced ? step : 1)
            rows.push_back(y);
        if (!interlaced)
            break;
    }
    return rows;
}

QImage DecodeFrame(GifFileType* gif, int transparentIndex) {
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (map == nullptr || frame.Width <= 0 || frame.Height <= 0)
        return {};
    // The logical screen, widened when a broken file places the frame beyond it.
    const qint64 width = std::max<qint64>(gif->SWidth, qint64(frame.Left) + frame.Width);
    const qint64 height = std::max<qint64>(gif->SHeight, qint64(frame.Top) + frame.Height);
    // One line of indices and the order of the rows besides the pixels.
    if (!FitsPictureBound(width, height, frame.Width + qint64(sizeof(int)) * frame.Height))
        return {};
    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    const std::array<QRgb, 256> colours = ColourTable(*map, transparentIndex);
    std::vector<GifPixelType> line(size_t(frame.Width));
    for (int y : RowOrder(frame.Height, frame.Interlace)) {
        if (DGifGetLine(gif, line.data(), frame.Width) != GIF_OK)
            return {};
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(frame.Top + y)) + frame.Left;
        for (int x = 0; x < frame.Width; ++x)
            out[x] = colours[line[size_t(x)]];
    }
    return image;
}

int TransparentIndexOf(GifFileType* gif, int code, GifByteType* block) {
    GraphicsControlBlock control{};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] == 4)
        DGifExtensionToGCB(4, block + 1, &control);
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK)
            return NO_TRANSPARENT_COLOR;
    }
    return control.TransparentColor;
}

} // namespace

QImage DecodeGif(const QByteArray& bytes) {
    TGifInput input{bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, ReadGifBytes, &error);
    if (gif == nullptr)
        return {};
    const auto close = qScopeGuard([gif] {
        int closeError = 0;
        DGifCloseFile(gif, &closeError);
    });
    int transparentIndex = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) != GIF_OK)
            return {};
        if (type == IMAGE_DESC_RECORD_TYPE)
            return DGifGetImageDesc(gif) == GIF_OK ? DecodeFrame(gif, transparentIndex) : QImage();
        if (type == TERMINATE_RECORD_TYPE)
            return {};
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) != GIF_OK)
                return {};
            const int index = TransparentIndexOf(gif, code, block);
            if (code == GRAPHICS_EXT_FUNC_CODE)
                transparentIndex = index;
        }
    }
}
