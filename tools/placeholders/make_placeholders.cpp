// Draws the "no picture" placeholder in every picture kind the client accepts, into the given
// folder as nopic.gif, nopic.jpg, nopic.bmp and nopic.png. Run at build time.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cstdio>
#include <gif_lib.h>
#include <vector>

namespace {

// Few flat colours and no antialiasing, so the GIF needs no colour reduction.
QImage DrawPlaceholder() {
    QImage image(121, 71, QImage::Format_RGB32);
    image.fill(QColor(0xee, 0xf2, 0xf7));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(0x9f, 0xb5, 0xcf));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, 120, 70);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xf2, 0xc1, 0x4e));
    painter.drawEllipse(QPoint(84, 22), 8, 8);
    painter.setBrush(QColor(0x7f, 0x9d, 0xb9));
    painter.drawPolygon(QPolygon({QPoint(20, 60), QPoint(48, 26), QPoint(72, 60)}));
    painter.setBrush(QColor(0x5b, 0x7f, 0xa6));
    painter.drawPolygon(QPolygon({QPoint(52, 60), QPoint(76, 36), QPoint(102, 60)}));
    return image;
}

bool WriteGif(const QImage& image, const char* path) {
    std::vector<QRgb> palette;
    std::vector<GifByteType> pixels;
    pixels.reserve(size_t(image.width()) * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y);
            size_t index = 0;
            while (index < palette.size() && palette[index] != colour)
                ++index;
            if (index == palette.size())
                palette.push_back(colour);
            pixels.push_back(static_cast<GifByteType>(index));
        }
    }
    if (palette.size() > 256)
        return false;
    std::vector<GifColorType> colours(16);
    for (size_t i = 0; i < palette.size(); ++i)
        colours[i] = {GifByteType(qRed(palette[i])), GifByteType(qGreen(palette[i])),
                      GifByteType(qBlue(palette[i]))};
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path, false, &error);
    if (gif == nullptr)
        return false;
    ColorMapObject* map = GifMakeMapObject(int(colours.size()), colours.data());
    bool ok = EGifPutScreenDesc(gif, image.width(), image.height(), 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height(); ++y)
        ok = EGifPutLine(gif, pixels.data() + size_t(y) * size_t(image.width()), image.width()) ==
             GIF_OK;
    GifFreeMapObject(map);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const QImage image = DrawPlaceholder();
    const bool ok =
        WriteGif(image, (folder + QStringLiteral("nopic.gif")).toLocal8Bit().constData()) &&
        image.save(folder + QStringLiteral("nopic.jpg"), "JPG", 90) &&
        image.save(folder + QStringLiteral("nopic.bmp"), "BMP") &&
        image.save(folder + QStringLiteral("nopic.png"), "PNG");
    if (!ok)
        std::fprintf(stderr, "could not write the placeholder pictures into %s\n", argv[1]);
    return ok ? 0 : 1;
}
