#include "shell/game_file_fetch.h"

#include "common/file_names.h"
#include "common/folder_lookup.h"
#include "common/hashed_pending_file.h"
#include "shell/game/file_ext.h"
#include "shell/game/game_files.h"
#include "shell/game/picture_kinds.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Copies the placeholder over the picture whole, through a temporary file.
void CopyPlaceholder(const QString& placeholder, const QString& picturePath) {
    QFile source(placeholder);
    if (!source.open(QIODevice::ReadOnly))
        return;
    QSaveFile target(picturePath);
    if (target.open(QIODevice::WriteOnly) && target.write(source.readAll()) == source.size())
        target.commit();
}

} // namespace

TFetchedGameFile FetchGameFile(const QString& url, const QString& gamePath,
                               const THttpProgress& progress) {
    using TOutcome = TFetchedGameFile::TOutcome;
    THashedPendingFile file(gamePath);
    if (!file.open())
        return {TOutcome::CannotCreate, {}, {}, file.errorString()};
    try {
        THttpClient().Get(url, file, progress);
    } catch (const EHttpFailure& failure) {
        return {TOutcome::TransferFailed, {}, failure, {}};
    }
    if (file.size() == 0)
        return {TOutcome::Empty, {}, {}, {}};
    const qint64 size = file.size();
    const QByteArray sha256 = file.FinishHex();
    if (!file.Publish())
        return {TOutcome::CannotPublish, {}, {}, file.errorString()};
    return {TOutcome::Stored,
            {size, sha256, QFileInfo(gamePath).lastModified().toMSecsSinceEpoch()},
            {},
            {}};
}

bool FetchGamePicture(const TGameInfo& game, const QString& pictureFolder,
                      const THttpProgress& progress) {
    const QString pictureName = PictureFileName(game);
    if (!IsSafeFileName(pictureName))
        return false;
    const QString picturePath = ResolveInFolder(pictureFolder, pictureName);
    const QString placeholder =
        FindInFolder(pictureFolder, QStringLiteral("nopic") + ExtractFileExt(game.picUrl));
    QSaveFile file(picturePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    try {
        THttpClient().Get(game.picUrl, file, progress);
    } catch (const EFailure&) {
        file.cancelWriting();
        if (!placeholder.isEmpty() && !QFileInfo::exists(picturePath))
            CopyPlaceholder(placeholder, picturePath);
        return false;
    }
    if (!file.commit())
        return false;
    QFile picture(picturePath);
    const QByteArray start = picture.open(QIODevice::ReadOnly) ? picture.read(2) : QByteArray();
    picture.close();
    if (IsAcceptedPictureContent(start) || placeholder.isEmpty())
        return true;
    CopyPlaceholder(placeholder, picturePath);
    return false;
}
