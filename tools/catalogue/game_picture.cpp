#include "game_picture.h"

#include "name_card.h"
#include "swf_pictures.h"

#include <algorithm>

namespace {

constexpr swf::Rgb kDefaultStage{255, 255, 255};

// Fits the picture inside the frame, keeping its shape, over the stage colour. Each output
// pixel averages the source pixels it covers, so small details do not flicker away.
std::vector<uint8_t> fitted(const swf::RgbaImage& picture, swf::Rgb stage) {
    const double scale = std::min(double(kGamePictureWidth) / picture.width,
                                  double(kGamePictureHeight) / picture.height);
    const int width = std::max(1, int(picture.width * scale));
    const int height = std::max(1, int(picture.height * scale));
    const int left = (kGamePictureWidth - width) / 2;
    const int top = (kGamePictureHeight - height) / 2;
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(kGamePictureWidth) * kGamePictureHeight * 3);
    for (int y = 0; y < kGamePictureHeight; ++y)
        for (int x = 0; x < kGamePictureWidth; ++x) {
            double sum[3] = {double(stage.r), double(stage.g), double(stage.b)};
            if (x >= left && x < left + width && y >= top && y < top + height) {
                const int x0 = (x - left) * picture.width / width;
                const int x1 = std::max(x0 + 1, (x - left + 1) * picture.width / width);
                const int y0 = (y - top) * picture.height / height;
                const int y1 = std::max(y0 + 1, (y - top + 1) * picture.height / height);
                double acc[3] = {0, 0, 0};
                for (int sy = y0; sy < y1; ++sy)
                    for (int sx = x0; sx < x1; ++sx) {
                        const uint8_t* p =
                            &picture.rgba[(size_t(sy) * size_t(picture.width) + size_t(sx)) * 4];
                        const double alpha = p[3] / 255.0;
                        for (int c = 0; c < 3; ++c)
                            acc[c] += p[c] * alpha + sum[c] * (1 - alpha);
                    }
                const double count = double(x1 - x0) * (y1 - y0);
                for (int c = 0; c < 3; ++c)
                    sum[c] = acc[c] / count;
            }
            for (double value : sum)
                rgb.push_back(static_cast<uint8_t>(std::clamp(value + 0.5, 0.0, 255.0)));
        }
    return rgb;
}

} // namespace

GamePicture gamePicture(std::string_view movie, const swf::MovieSummary& summary,
                        std::string_view name) {
    const swf::Rgb stage = summary.background.value_or(kDefaultStage);
    if (const auto picture = swf::largestPicture(movie, summary))
        return {PictureFormat::Jpeg, encodeTrueColourJpeg(kGamePictureWidth, kGamePictureHeight,
                                                          fitted(*picture, stage))};
    return {PictureFormat::Png,
            encodePicture(nameCard(name, stage, kGamePictureWidth, kGamePictureHeight),
                          PictureFormat::Png)};
}
