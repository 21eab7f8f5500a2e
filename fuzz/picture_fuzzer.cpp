// One picture kind through the thumbnail loader, as the local games page loads it: a file in a
// folder, its decoder chosen by its extension (PEBBLO_PICTURE_EXTENSION), the picture stretched
// to the grid's cell. Decoding may hold no more than the picture bound besides the file itself.
#include "library/picture_decoders.h"
#include "library/picture_loader.h"
#include "support/heap_watch.h"
#include "support/require.h"
#include "support/scratch_files.h"

#include <cstdint>

namespace {

// The local games grid's cell.
constexpr QSize kCell(121, 71);
// The loader's own small bookkeeping: file and reader objects, Qt's plugin list on first use.
constexpr size_t kBookkeepingBytes = 1024 * 1024;

void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

// Qt's readers report every odd header on the error stream; a fuzzer meets millions of them.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler(DropMessage);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path = ScratchPath(QStringLiteral("thumbnail." PEBBLO_PICTURE_EXTENSION));
    WriteScratchFile(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QImage thumbnail;
    {
        const THeapWatch watch(size + size_t(kMaxPictureBytes) + kBookkeepingBytes);
        thumbnail = LoadThumbnail(path, kCell);
    }
    if (!thumbnail.isNull()) {
        Require(thumbnail.size() == kCell, "a thumbnail fills the cell exactly");
        Require(thumbnail.format() == QImage::Format_RGB32 ||
                    thumbnail.format() == QImage::Format_ARGB32_Premultiplied,
                "a thumbnail is ready to paint without converting");
    }
    return 0;
}
