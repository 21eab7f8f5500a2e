// A stored game whose file was damaged or lost is never loaded: the player says so and fetches it
// again from its address, keeping the game's row and favourite mark.
#include "library/flash_statements.h"
#include "library/game_fingerprints.h"
#include "library/library_connection.h"
#include "platform/flash_player.h"
#include "shell/game_status_panel.h"
#include "support/catalogue_window_test.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
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

} // namespace
