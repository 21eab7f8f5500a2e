#include "shell/library_check.h"

#include "common/date_time.h"
#include "common/folder_lookup.h"
#include "library/flash_statements.h"
#include "library/library_connection.h"
#include "shell/game/game_files.h"
#include "shell/game/game_store.h"
#include "shell/game/picture_kinds.h"
#include "shell/game_failure_text.h"
#include "shell/game_file_fetch.h"

#include <QFile>
#include <QFileInfo>

namespace {

TLibraryProblem::TPicture CheckPicture(const QString& pictureFolder, const QString& picName) {
    const QString path = FindInFolder(pictureFolder, picName);
    if (path.isEmpty())
        return TLibraryProblem::TPicture::Missing;
    QFile picture(path);
    const QByteArray start = picture.open(QIODevice::ReadOnly) ? picture.read(2) : QByteArray();
    return IsAcceptedPictureContent(start) ? TLibraryProblem::TPicture::Sound
                                           : TLibraryProblem::TPicture::Damaged;
}

// A damaged file moved out of the way under a name the library never loads, and put back
// unless the repair that replaced it succeeded.
class TAsideCopy {
public:
    explicit TAsideCopy(const QString& path) : FPath(path) {
        if (!QFileInfo::exists(path))
            return;
        for (int n = 1; FAside.isEmpty() || QFileInfo::exists(FAside); ++n)
            FAside =
                path + QStringLiteral(".damaged%1").arg(n == 1 ? QString() : QString::number(n));
        if (!QFile::rename(path, FAside))
            FAside.clear();
    }
    ~TAsideCopy() {
        if (FAside.isEmpty())
            return;
        if (FRepaired)
            QFile::remove(FAside);
        else {
            QFile::remove(FPath);
            QFile::rename(FAside, FPath);
        }
    }
    TAsideCopy(const TAsideCopy&) = delete;
    TAsideCopy& operator=(const TAsideCopy&) = delete;

    void Repaired() { FRepaired = true; }

private:
    QString FPath;
    QString FAside;
    bool FRepaired = false;
};

THttpProgress ProgressOf(const TLibraryCheckHooks& hooks) {
    THttpProgress progress;
    progress.IsAbandoned = hooks.Stopped;
    return progress;
}

QString RepairGameFile(const TLibraryPlace& place, const TLibraryProblem& problem,
                       const TLibraryCheckHooks& hooks) {
    TAsideCopy aside(problem.GamePath);
    const TFetchedGameFile fetched =
        FetchGameFile(problem.Game.flashurl, problem.GamePath, ProgressOf(hooks));
    switch (fetched.Outcome) {
    case TFetchedGameFile::TOutcome::Stored:
        break;
    case TFetchedGameFile::TOutcome::TransferFailed:
        return GameFailureText(*fetched.Failure, false);
    case TFetchedGameFile::TOutcome::Empty:
        return EmptyGameFileText();
    default:
        return QStringLiteral("无法保存游戏文件：%1").arg(fetched.Error);
    }
    aside.Repaired();
    FingerprintGameFile(place.DatabasePath, QFileInfo(problem.GamePath).completeBaseName(),
                        problem.GamePath, TClock::Now());
    return {};
}

QString RepairPicture(const TLibraryPlace& place, const TLibraryProblem& problem,
                      const TLibraryCheckHooks& hooks) {
    const QString path = FindInFolder(place.PictureFolder, problem.Game.picName);
    TAsideCopy aside(path.isEmpty() ? QString() : path);
    if (!FetchGamePicture(problem.Game, place.PictureFolder, ProgressOf(hooks)))
        return QStringLiteral("图片没能重新下载");
    aside.Repaired();
    return {};
}

} // namespace

QString TLibraryProblem::Text() const {
    QStringList parts;
    if (GameFile.State == TGameFileState::Missing)
        parts.append(QStringLiteral("游戏文件不见了"));
    else if (GameFile.State == TGameFileState::Damaged)
        parts.append(QStringLiteral("游戏文件已损坏（%1）").arg(GameFile.Detail));
    if (Picture == TPicture::Missing)
        parts.append(QStringLiteral("图片不见了"));
    else if (Picture == TPicture::Damaged)
        parts.append(QStringLiteral("图片已损坏"));
    return QStringLiteral("“%1”：%2").arg(Game.flashname, parts.join(QStringLiteral("，")));
}

QList<TLibraryProblem> CheckLibrary(const TLibraryPlace& place, const TLibraryCheckHooks& hooks) {
    const TLibraryConnection library(place.DatabasePath);
    const QList<QSqlRecord> rows = ListAllGames(library.Database());
    QList<TLibraryProblem> problems;
    for (int done = 0; done < rows.size() && !hooks.Stopped(); ++done) {
        TLibraryProblem problem;
        problem.Game = StoredGameOf(rows[done]);
        const QString found = FindGameFile(place.FlashFolder, problem.Game.flashname);
        problem.GamePath = !found.isEmpty() ? found
                                            : place.FlashFolder + QLatin1Char('/') +
                                                  problem.Game.flashname + QStringLiteral(".swf");
        problem.GameFile =
            CheckGameFile(library.Database(), QFileInfo(problem.GamePath).completeBaseName(),
                          problem.GamePath, TClock::Now());
        problem.Picture = CheckPicture(place.PictureFolder, problem.Game.picName);
        if (!problem.GameFileSound() || problem.Picture != TLibraryProblem::TPicture::Sound)
            problems.append(problem);
        hooks.Progress(done + 1, int(rows.size()));
    }
    return problems;
}

QString RepairLibraryProblem(const TLibraryPlace& place, const TLibraryProblem& problem,
                             const TLibraryCheckHooks& hooks) {
    QStringList left;
    if (!problem.GameFileSound()) {
        const QString failure = RepairGameFile(place, problem, hooks);
        if (!failure.isEmpty())
            left.append(failure);
    }
    if (problem.Picture != TLibraryProblem::TPicture::Sound) {
        const QString failure = RepairPicture(place, problem, hooks);
        if (!failure.isEmpty())
            left.append(failure);
    }
    return left.join(QStringLiteral("；"));
}
