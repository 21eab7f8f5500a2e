#pragma once

#include "image_encoders.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

// Real picture files for the picture tests, made by the demo catalogue's encoders.

QByteArray Encoded(const IndexedImage& image, PictureFormat format);
// A picture of one colour: what a test recognises in a thumbnail.
IndexedImage PlainImage(QColor colour, int width = 120, int height = 90);
// The catalogue's own thumbnail of a game, as a QImage of its exact pixels.
IndexedImage GameThumbnail();
QImage ToQImage(const IndexedImage& image);

// A 4 × 2 GIF whose left half is colour index 1, marked transparent; the right half is red.
QByteArray TransparentGif();

// The image as a progressive JPEG, whose decoder keeps the whole picture's coefficients.
QByteArray ProgressiveJpeg(const IndexedImage& image);

// One PNG chunk: length, type, data and the checksum over type and data.
QByteArray PngChunk(const char* type, const QByteArray& data);
// A PNG's signature and its header chunk for an 8-bit grey picture; the rest is the caller's.
QByteArray PngSignatureAndHeader(int width, int height);
// A whole PNG with the chunk inserted right after its header chunk.
QByteArray WithChunkAfterHeader(const QByteArray& png, const QByteArray& chunk);

// The file with its header claiming Width × Height while its data stays as it was.
QByteArray WithDeclaredSize(QByteArray bytes, PictureFormat format, int width, int height);

void WriteFile(const QString& path, const QByteArray& bytes);

// Mean difference per channel between two pictures of the same size.
double MeanDifference(const QImage& left, const QImage& right);
