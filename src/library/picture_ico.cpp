#include "library/picture_decoders.h"

#include <QtEndian>

namespace {

constexpr qsizetype kDirectoryEnd = 6 + 16; // the directory's head and its first entry

} // namespace

QImage DecodeIco(const QByteArray& bytes) {
    if (bytes.size() < kDirectoryEnd || qFromLittleEndian<quint16>(bytes.constData()) != 0 ||
        qFromLittleEndian<quint16>(bytes.constData() + 4) == 0)
        return {};
    const qint64 size = qFromLittleEndian<quint32>(bytes.constData() + 14);
    const qint64 offset = qFromLittleEndian<quint32>(bytes.constData() + 18);
    if (offset + size > bytes.size())
        return {};
    const QByteArray picture = QByteArray::fromRawData(bytes.constData() + offset, size);
    if (picture.startsWith("\x89PNG\r\n\x1a\n"))
        return DecodePng(picture);
    return DecodeWithQtReader(bytes, "ico");
}
