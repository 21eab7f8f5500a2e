#pragma once

#include "swf_games.h"

#include <QImage>

// A colour of the demo catalogue's games as it shows on screen.
inline QRgb Colour(swf::Rgb colour) {
    return qRgb(colour.r, colour.g, colour.b);
}

// Mean column of the pixels in the colour, negative when none shows: where a game's sprite is.
inline double MeanColumnOf(const QImage& picture, QRgb colour) {
    double sum = 0;
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == colour) {
                sum += x;
                ++count;
            }
    return count ? sum / count : -1;
}
