// The upgrade information file as the check reads it, the verdict it leads to, and the pending
// file each listed address would be downloaded into.
#include "support/require.h"
#include "support/scratch_files.h"
#include "upgrade/au_info_file.h"
#include "upgrade/au_pending_files.h"
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
    return 0;
}
