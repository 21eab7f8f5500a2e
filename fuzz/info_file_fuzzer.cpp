// The upgrade information file as the check reads it: its files with their sizes and digests,
// its signature, the verdict it leads to, and the pending file each listed address would be
// downloaded into; and the signing tool's setting of a value, which a reader must find.
#include "support/require.h"
#include "support/scratch_files.h"
#include "upgrade/au_info_file.h"
#include "upgrade/au_pending_files.h"
#include "upgrade/au_signature.h"
#include "upgrade/au_utils.h"

#include <QFileInfo>
#include <cstdint>

namespace {

bool HasControlCharacter(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 32)
            return true;
    }
    return false;
}

void CheckVersionOrder(const QString& offered) {
    const QString current = QStringLiteral("3.7");
    Require(CompareVersions(offered, current) == -CompareVersions(current, offered),
            "two versions compare the same way round either way");
    Require(CompareVersions(offered, offered) == 0, "a version equals itself");
}

void CheckDigests(const TauInfoFileContent& content) {
    Require(content.FileKeys.size() == content.Files.size() &&
                content.Digests.size() == content.Files.size(),
            "every file has its key and its digest");
    for (const TauFileDigest& digest : content.Digests) {
        Require(digest.Size >= -1, "a size is a count of bytes or absent");
        Require(digest.Sha256.isEmpty() || digest.Sha256.size() == 32,
                "a digest is 32 bytes or absent");
    }
}

// Whatever the text, a size the signing tool sets is the size the client then reads.
void CheckSetValue(const QByteArray& text) {
    QByteArray changed = text;
    SetOneLineValue(changed, "size", "123");
    const TauInfoFileContent content = ParseInfoFile(changed);
    if (!content.FileKeys.isEmpty() && content.FileKeys.first() == "url")
        Require(content.Digests.first().Size == 123, "a set value is the one a reader finds");
}

// No text is signed by this key: the check must say so, whatever the bytes, without failing.
void CheckSignature(const QByteArray& text) {
    static const QByteArray key(32, '\x5a');
    const qsizetype split = text.size() / 2;
    Require(!IsSignedBy(text.left(split), text.mid(split), key),
            "arbitrary bytes are no signature");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const TauInfoFileContent content = ParseInfoFile(text);

    // The folder is never written to: a pending file's path is all that is asked for.
    static const QString programFolder = QFileInfo(ScratchPath(QString())).absoluteFilePath();
    for (const QString& url : content.Files) {
        Require(!url.isEmpty() && !HasControlCharacter(url),
                "a listed file is a non-empty one-line value");
        const QFileInfo pending(PendingFilePath(programFolder, url));
        Require(pending.absolutePath() == programFolder,
                "every pending file lies directly in the program folder");
        Require(pending.fileName().endsWith(QStringLiteral(".uTMP")), "a pending file is a .uTMP");
    }
    Require(!HasControlCharacter(content.Version) && !HasControlCharacter(content.Date),
            "one-line values end before a control character");
    Require(!content.Message.contains(QLatin1Char('}')), "a message ends at its closing brace");
    CheckVersionOrder(content.Version);
    Require(ParseVersionDate(content.Date).isValid(), "any date text gives a calendar date");
    IsNewerVersion(byDate, content, QStringLiteral("3.7"), QStringLiteral("12/17/2008"));
    CheckDigests(content);
    CheckSetValue(text);
    CheckSignature(text);
    return 0;
}
