#include "library/swf_wholeness.h"

#include <QtEndian>
#include <zlib.h>

namespace {

constexpr qint64 kHeaderSize = 8;
// "ZWS", version, length, packed length, then the five bytes of the LZMA properties.
constexpr qint64 kLzmaHeaderSize = 17;
constexpr qint64 kChunk = 64 * 1024;

quint32 LittleEndianAt(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

TSwfWholeness CheckZlibMovie(QIODevice& file, qint64 unpackedLength) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return TSwfWholeness::CutShort;
    QByteArray output(kChunk, Qt::Uninitialized);
    qint64 produced = kHeaderSize;
    int result = Z_OK;
    while (result == Z_OK && produced < unpackedLength) {
        QByteArray input = file.read(kChunk);
        if (input.isEmpty())
            break;
        stream.next_in = reinterpret_cast<Bytef*>(input.data());
        stream.avail_in = static_cast<uInt>(input.size());
        while (result == Z_OK && stream.avail_in > 0 && produced < unpackedLength) {
            stream.next_out = reinterpret_cast<Bytef*>(output.data());
            stream.avail_out = static_cast<uInt>(output.size());
            result = inflate(&stream, Z_NO_FLUSH);
            produced += output.size() - static_cast<qint64>(stream.avail_out);
        }
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END || produced >= unpackedLength ? TSwfWholeness::Whole
                                                                : TSwfWholeness::CutShort;
}

} // namespace

TSwfWholeness CheckSwfWholeness(QIODevice& file) {
    const QByteArray header = file.read(kHeaderSize);
    if (header.size() < kHeaderSize || header.mid(1, 2) != "WS")
        return TSwfWholeness::NotSwf;
    const qint64 length = LittleEndianAt(header, 4);
    switch (header.at(0)) {
    case 'F':
        return file.size() >= length ? TSwfWholeness::Whole : TSwfWholeness::CutShort;
    case 'C':
        return CheckZlibMovie(file, length);
    case 'Z': {
        const QByteArray packed = file.read(4);
        if (packed.size() < 4)
            return TSwfWholeness::CutShort;
        return file.size() >= kLzmaHeaderSize + LittleEndianAt(packed, 0) ? TSwfWholeness::Whole
                                                                          : TSwfWholeness::CutShort;
    }
    default:
        return TSwfWholeness::NotSwf;
    }
}
