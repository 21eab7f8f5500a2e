#include "picture_files.h"

#include <QFile>
#include <QtEndian>
#include <cstring>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

void PutBigEndian16(QByteArray& bytes, qsizetype at, int value) {
    qToBigEndian(quint16(value), bytes.data() + at);
}

void PutLittleEndian16(QByteArray& bytes, qsizetype at, int value) {
    qToLittleEndian(quint16(value), bytes.data() + at);
}

// The frame's size in the SOF0 segment of a baseline JPEG, or SOF2 of a progressive one.
void DeclareJpegSize(QByteArray& bytes, int width, int height) {
    qsizetype frame = bytes.indexOf(QByteArray("\xff\xc0", 2));
    if (frame < 0)
        frame = bytes.indexOf(QByteArray("\xff\xc2", 2));
    ASSERT_GT(frame, 0);
    PutBigEndian16(bytes, frame + 5, height);
    PutBigEndian16(bytes, frame + 7, width);
}

// IHDR comes first; its CRC is mended so that only the size is wrong.
void DeclarePngSize(QByteArray& bytes, int width, int height) {
    qToBigEndian(quint32(width), bytes.data() + 16);
    qToBigEndian(quint32(height), bytes.data() + 20);
    const auto* chunk = reinterpret_cast<const Bytef*>(bytes.constData() + 12);
    qToBigEndian(quint32(crc32(0, chunk, 17)), bytes.data() + 29);
}

// Both the logical screen and the first image descriptor.
void DeclareGifSize(QByteArray& bytes, int width, int height) {
    PutLittleEndian16(bytes, 6, width);
    PutLittleEndian16(bytes, 8, height);
    const bool hasColourTable = (bytes[10] & 0x80) != 0;
    const qsizetype image = 13 + (hasColourTable ? 3 * (2 << (bytes[10] & 7)) : 0);
    ASSERT_EQ(bytes[image], ',');
    PutLittleEndian16(bytes, image + 5, width);
    PutLittleEndian16(bytes, image + 7, height);
}

void DeclareBmpSize(QByteArray& bytes, int width, int height) {
    qToLittleEndian(qint32(width), bytes.data() + 18);
    qToLittleEndian(qint32(height), bytes.data() + 22);
}

int AppendGifBytes(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

} // namespace

QByteArray Encoded(const IndexedImage& image, PictureFormat format) {
    return QByteArray::fromStdString(encodePicture(image, format));
}

IndexedImage PlainImage(QColor colour, int width, int height) {
    const swf::Rgb rgb{uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue())};
    return {width, height, {rgb, rgb}, std::vector<uint8_t>(size_t(width) * height, 0)};
}

IndexedImage GameThumbnail() {
    return drawThumbnail(swf::paletteOf(swf::GameKind::Fish), "Fish");
}

QImage ToQImage(const IndexedImage& image) {
    QImage out(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const swf::Rgb& c = image.palette[image.pixels[size_t(y) * image.width + x]];
            out.setPixel(x, y, qRgb(c.r, c.g, c.b));
        }
    }
    return out;
}

QByteArray TransparentGif() {
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendGifBytes, &error);
    GifColorType colours[2] = {{255, 0, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(2, colours);
    GraphicsControlBlock control{};
    control.TransparentColor = 1;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    GifPixelType rows[2][4] = {{1, 1, 0, 0}, {1, 1, 0, 0}};
    EGifPutScreenDesc(gif, 4, 2, 8, 0, map);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    EGifPutImageDesc(gif, 0, 0, 4, 2, false, nullptr);
    for (auto& row : rows)
        EGifPutLine(gif, row, 4);
    GifFreeMapObject(map);
    EGifCloseFile(gif, &error);
    return out;
}

QByteArray ProgressiveJpeg(const IndexedImage& image) {
    return QByteArray::fromStdString(encodeProgressiveJpeg(image));
}

QByteArray PngChunk(const char* type, const QByteArray& data) {
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    const QByteArray body = QByteArray(type, 4) + data;
    QByteArray checksum(4, '\0');
    qToBigEndian(
        quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()))),
        checksum.data());
    return chunk + body + checksum;
}

QByteArray PngSignatureAndHeader(int width, int height) {
    QByteArray header(13, '\0');
    qToBigEndian(quint32(width), header.data());
    qToBigEndian(quint32(height), header.data() + 4);
    header[8] = 8; // bits per sample; grey, no interlacing
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header);
}

QByteArray WithChunkAfterHeader(const QByteArray& png, const QByteArray& chunk) {
    constexpr qsizetype kHeaderEnd = 8 + 25;
    return png.left(kHeaderEnd) + chunk + png.mid(kHeaderEnd);
}

QByteArray WithDeclaredSize(QByteArray bytes, PictureFormat format, int width, int height) {
    switch (format) {
    case PictureFormat::Jpeg:
        DeclareJpegSize(bytes, width, height);
        break;
    case PictureFormat::Png:
        DeclarePngSize(bytes, width, height);
        break;
    case PictureFormat::Gif:
        DeclareGifSize(bytes, width, height);
        break;
    case PictureFormat::Bmp:
        DeclareBmpSize(bytes, width, height);
        break;
    }
    return bytes;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

double MeanDifference(const QImage& left, const QImage& right) {
    const QImage a = left.convertToFormat(QImage::Format_RGB32);
    const QImage b = right.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size())
        return 255;
    double total = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q));
        }
    }
    return total / (3.0 * a.width() * a.height());
}
