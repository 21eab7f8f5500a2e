// A stored game whose file was damaged or lost is never loaded: the player says so and fetches it
// again from its address, keeping the game's row and favourite mark.
#include "library/flash_statements.h"
#include "library/game_fingerprints.h"
#include "library/library_connection.h"
#include "library/named_values.h"
#include "platform/flash_player.h"
#include "shell/game_status_panel.h"
#include "shell/library_check_dialog.h"
#include "support/catalogue_window_test.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <functional>

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Rewrite(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    // A later time, as an editor or a bad copy would leave.
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                 QFileDevice::FileModificationTime));
}

using GameRepair = TCatalogueWindowTest;

TEST_F(GameRepair, ADamagedOrLostGameIsNotPlayedAndIsFetchedAgainWhole) {
    ASSERT_TRUE(Offer(GameLink(QStringLiteral("1006"))));
    ASSERT_TRUE(WaitForGame(QStringLiteral("1006")));
    ASSERT_TRUE(WaitForDownloads());
    const QString path = FWindow->swfPlay->Movie();
    const QByteArray whole = FileBytes(path);
    ASSERT_FALSE(whole.isEmpty());
    {
        const TLibraryConnection library(LibraryDatabasePath());
        const auto known = ReadFingerprint(library.Database(), QFileInfo(path).completeBaseName());
        ASSERT_TRUE(known.has_value()) << "fingerprinted as it arrived";
        EXPECT_EQ(known->Size, whole.size());
        EXPECT_EQ(known->Sha256,
                  QCryptographicHash::hash(whole, QCryptographicHash::Sha256).toHex());
    }
    FWindow->btnAddFavorate->click();

    QByteArray flipped = whole;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x01);
    const std::vector<std::pair<const char*, std::function<void()>>> damages = {
        {"已损坏",
         [&] {
             Rewrite(path, flipped);
         }},
        {"已损坏",
         [&] {
             Rewrite(path, whole.left(whole.size() - 100));
         }},
        {"不见了",
         [&] {
             ASSERT_TRUE(QFile::remove(path));
         }},
    };
    TGameStatusPanel* card = FWindow->pnlGameStatus;
    for (const auto& [said, damage] : damages) {
        SCOPED_TRACE(said);
        FWindow->swfPlay->SetMovie(QString());
        damage();
        FWindow->PlayLocalGame(QStringLiteral("1006"));
        EXPECT_TRUE(FWindow->swfPlay->Movie().isEmpty());
        EXPECT_FALSE(card->isHidden());
        EXPECT_TRUE(card->lblGameStatus->text().contains(QString::fromUtf8(said)));
        EXPECT_EQ(FWindow->RunningDownloads(), 0) << "nothing is fetched unasked";
        ASSERT_EQ(card->btnRetry->text(), QStringLiteral("重新下载"));

        card->btnRetry->click();
        ASSERT_TRUE(PumpEventsUntil([&] { return FWindow->swfPlay->Movie() == path; }, 30000));
        ASSERT_TRUE(WaitForDownloads());
        EXPECT_EQ(FileBytes(path), whole);
        EXPECT_TRUE(card->isHidden());
    }
    const TLibraryConnection library(LibraryDatabasePath());
    const QList<QSqlRecord> rows = ListAllGames(library.Database());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("isGood")), QStringLiteral("Y"));
    EXPECT_TRUE(FMessages.Plain.isEmpty() && FMessages.Errors.isEmpty());
}

// "检查游戏库" finds every damaged or lost file and picture and fetches them again; a game whose
// address no longer serves it keeps its damaged file, put back as it was.
TEST_F(GameRepair, TheLibraryCheckFindsAndRepairsWhatItCanAndLosesNothing) {
    QStringList paths;
    for (const char* id : {"1003", "1004", "1006", "1007"}) {
        ASSERT_TRUE(Offer(GameLink(QLatin1String(id))));
        ASSERT_TRUE(WaitForGame(QLatin1String(id)));
        ASSERT_TRUE(WaitForDownloads());
        paths.append(FWindow->swfPlay->Movie());
    }
    FWindow->swfPlay->SetMovie(QString());
    QList<QByteArray> wholes;
    for (const QString& path : paths)
        wholes.append(FileBytes(path));
    const QDir pictures(FFolder.filePath(QStringLiteral("pic")));
    const QStringList pictureFiles = pictures.entryList(
        {QFileInfo(paths[1]).completeBaseName() + QStringLiteral(".*")}, QDir::Files);
    ASSERT_EQ(pictureFiles.size(), 1);
    const QString picturePath = pictures.filePath(pictureFiles[0]);
    const QByteArray pictureBytes = FileBytes(picturePath);

    QByteArray flipped = wholes[0];
    flipped[10] = char(flipped[10] ^ 0x20);
    Rewrite(paths[0], flipped);
    ASSERT_TRUE(QFile::remove(picturePath));
    ASSERT_TRUE(QFile::remove(paths[2]));
    // The last game's address serves it no more: its damaged copy must survive the repair.
    const QByteArray cut = wholes[3].left(wholes[3].size() / 2);
    Rewrite(paths[3], cut);
    {
        const TLibraryConnection library(LibraryDatabasePath());
        ExecWithValues(library.Database(),
                       QStringLiteral("update flash set flashUrl = :url where id = '1007'"),
                       {{QStringLiteral("url"), Origin() + QStringLiteral("/gone.swf")}});
    }

    FWindow->btnCheckLibrary->click();
    TLibraryCheckDialog* check = FWindow->LibraryCheck();
    ASSERT_NE(check, nullptr);
    ASSERT_TRUE(PumpEventsUntil([&] { return check->btnRepair->isEnabled(); }, 30000))
        << check->lblCheckState->text().toStdString();
    ASSERT_EQ(check->lstProblems->count(), 4);
    EXPECT_TRUE(check->lstProblems->item(0)->text().contains(QStringLiteral("游戏文件已损坏")));
    EXPECT_TRUE(check->lstProblems->item(1)->text().contains(QStringLiteral("图片不见了")));
    EXPECT_TRUE(check->lstProblems->item(2)->text().contains(QStringLiteral("游戏文件不见了")));

    check->btnRepair->click();
    ASSERT_TRUE(PumpEventsUntil(
        [&] { return check->lblCheckState->text().contains(QStringLiteral("没能修复")); }, 30000));
    EXPECT_EQ(FileBytes(paths[0]), wholes[0]);
    EXPECT_EQ(FileBytes(picturePath), pictureBytes);
    EXPECT_EQ(FileBytes(paths[2]), wholes[2]);
    EXPECT_EQ(FileBytes(paths[3]), cut) << "the damaged copy is put back when its repair failed";
    EXPECT_TRUE(check->lstProblems->item(3)->text().startsWith(QStringLiteral("没能修复")));
    EXPECT_EQ(QDir(FFolder.filePath(QStringLiteral("flash")))
                  .entryList({QStringLiteral("*.damaged*")}, QDir::Files),
              QStringList());
    check->close();
    ASSERT_TRUE(PumpEventsUntil([&] { return FWindow->LibraryCheck() == nullptr; }));
}

} // namespace
