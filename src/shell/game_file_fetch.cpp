#include "shell/game_file_fetch.h"

#include "common/file_names.h"
#include "common/folder_lookup.h"
#include "shell/game/file_ext.h"
#include "shell/game/game_files.h"
#include "shell/game/picture_kinds.h"
#include "shell/partial_download.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <chrono>
#include <thread>

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

constexpr int kRetries = 3;

// Only a connection that was lost or could not be made may come back by itself.
bool WorthTryingAgain(const EHttpFailure& failure, int attempt) {
    return attempt < kRetries && (failure.Kind() == THttpFailureKind::CutOff ||
                                  failure.Kind() == THttpFailureKind::Unreachable);
}

// Half a second, one, two: false when the transfer was abandoned meanwhile.
bool WaitBeforeTryingAgain(int attempt, const std::function<bool()>& abandoned) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500 << attempt);
    while (std::chrono::steady_clock::now() < until) {
        if (abandoned())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return !abandoned();
}

} // namespace

TFetchedGameFile FetchGameFile(const QString& url, const QString& gamePath,
                               const THttpProgress& progress,
                               const std::function<bool()>& cancelled) {
    using TOutcome = TFetchedGameFile::TOutcome;
    const auto wasCancelled = [&cancelled] {
        return cancelled && cancelled();
    };
    TPartialDownload part(gamePath);
    if (!part.Open(url))
        return {TOutcome::CannotCreate, {}, part.ErrorString()};
    THttpProgress resumable = progress;
    resumable.OnReply = [&part](const THttpReply& reply) {
        part.Continue(reply);
    };
    resumable.IsAbandoned = [&progress, &wasCancelled] {
        return wasCancelled() || (progress.IsAbandoned && progress.IsAbandoned());
    };
    for (int attempt = 0;; ++attempt) {
        try {
            THttpClient().Get(url, part.Stream(), resumable, part.Resume());
            break;
        } catch (const EHttpFailure& failure) {
            // The part stays open: the next try continues it where it is.
            if (WorthTryingAgain(failure, attempt) &&
                WaitBeforeTryingAgain(attempt, resumable.IsAbandoned))
                continue;
            if (wasCancelled()) {
                part.Discard();
                return {TOutcome::Cancelled, {}, {}};
            }
            // What came stays for a later attempt to continue; nothing came, nothing stays.
            if (part.Size() == 0)
                part.Discard();
            return {TOutcome::TransferFailed, failure, {}};
        }
    }
    if (part.Size() == 0) {
        part.Discard();
        return {TOutcome::Empty, {}, {}};
    }
    if (!part.Publish())
        return {TOutcome::CannotPublish, {}, part.ErrorString()};
    return {TOutcome::Stored, {}, {}};
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
