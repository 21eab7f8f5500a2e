// A game's saved data for real: a generated SWF that counts its visits in a SharedObject,
// Ruffle in Qt WebEngine, a program folder of real files that moves between two plays.
#include "common/program_folder.h"
#include "platform/flash_player.h"
#include "shell/game/save_file.h"
#include "support/pump_events.h"
#include "swf_games.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QtEndian>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

struct TPlayerWindow {
    TPlayerWindow() {
        new QVBoxLayout(&Window);
        Window.layout()->addWidget(Player);
        Window.resize(400, 300);
        Window.show();
    }
    QWidget Window;
    TFlashPlayer* Player = new TFlashPlayer(&Window);
};

TGameSaves SavesOf(TFlashPlayer& player) {
    std::optional<TGameSaves> saves;
    player.ReadSaves([&](const TGameSaves& answer) { saves = answer; });
    PumpEventsUntil([&] { return saves.has_value(); });
    return saves.value_or(TGameSaves{});
}

// The count the game keeps in its object "progress": the number after "visits" and its AMF
// number marker, a big-endian double.
int VisitsIn(const QString& save) {
    const QByteArray bytes = QByteArray::fromBase64(save.toLatin1());
    const QByteArray field("visits\x00", 7);
    const qsizetype at = bytes.indexOf(field);
    if (at < 0 || bytes.size() < at + field.size() + 8)
        return 0;
    return int(qFromBigEndian<double>(bytes.constData() + at + field.size()));
}

int VisitsSaved(TFlashPlayer& player) {
    return VisitsIn(SavesOf(player).value(QStringLiteral("progress")));
}

bool WaitForVisits(TFlashPlayer& player, int visits) {
    return PumpEventsUntil([&] { return VisitsSaved(player) == visits; });
}

void Play(TFlashPlayer& player, const QString& path) {
    player.StopPlay();
    player.SetMovie(path);
    player.Play();
}

void WriteLocalStorage(TFlashPlayer& player, const QString& key, const QString& value) {
    bool done = false;
    player.page()->runJavaScript(
        QStringLiteral("localStorage.setItem(%1, %2)")
            .arg(QStringLiteral("'%1'").arg(key), QStringLiteral("'%1'").arg(value)),
        [&](const QVariant&) { done = true; });
    ASSERT_TRUE(PumpEventsUntil([&] { return done; }));
}

class GameSaves : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(qgetenv("DISPLAY").isEmpty()) << "runs under an X server (scripts/test)";
        ASSERT_TRUE(FTemp.isValid());
        ASSERT_TRUE(CopyRuffleInto(Folder()));
        SetProgramFolderForTesting(Folder());
    }
    void TearDown() override {
        FWindow.reset();
        SetProgramFolderForTesting({});
    }

    QString Folder() const { return FTemp.filePath(QStringLiteral("程序 A")); }

    // The browser profile outlives the test, so every game has a name of its own; a blank, a
    // bracket and Chinese letters as real names have them.
    static QString NewGameName() {
        return QStringLiteral("存档 (%1)").arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
    }

    QString WriteGame(const QString& folder, const QString& name) {
        const swf::Bytes movie = swf::makeGame(swf::GameKind::SaveCounter);
        QFile file(folder + QStringLiteral("/flash/") + name + QStringLiteral(".swf"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(movie.data()), qint64(movie.size()));
        return file.fileName();
    }

    TFlashPlayer& NewPlayer() {
        FWindow.reset();
        FWindow = std::make_unique<TPlayerWindow>();
        return *FWindow->Player;
    }

    static bool CopyRuffleInto(const QString& folder) {
        const QDir ruffle(QStringLiteral(PEBBLO_PROGRAM_DIR "/ruffle"));
        if (!QDir().mkpath(folder + QStringLiteral("/ruffle")) ||
            !QDir().mkpath(folder + QStringLiteral("/flash")))
            return false;
        for (const QString& name : ruffle.entryList(QDir::Files))
            if (!QFile::copy(ruffle.filePath(name), folder + QStringLiteral("/ruffle/") + name))
                return false;
        return true;
    }

    QTemporaryDir FTemp;
    std::unique_ptr<TPlayerWindow> FWindow;
};

TEST_F(GameSaves, ASaveMadeBeforeTheProgramFolderMovedIsThereAfter) {
    const QString name = NewGameName();
    TFlashPlayer& before = NewPlayer();
    Play(before, WriteGame(Folder(), name));
    ASSERT_TRUE(WaitForVisits(before, 1));

    const QString moved = FTemp.filePath(QStringLiteral("移动后的程序"));
    FWindow.reset();
    ASSERT_TRUE(QDir().rename(Folder(), moved));
    SetProgramFolderForTesting(moved);
    TFlashPlayer& after = NewPlayer();
    Play(after, moved + QStringLiteral("/flash/") + name + QStringLiteral(".swf"));
    EXPECT_TRUE(WaitForVisits(after, 2)) << VisitsSaved(after);
}

// A save the client kept under the game file's own address, in a folder the program has since
// left, comes over at the game's first play; once moved, it never overwrites the game's own.
TEST_F(GameSaves, SavesKeptUnderTheOldFileAddressComeOverOnce) {
    TFlashPlayer& player = NewPlayer();
    Play(player, WriteGame(Folder(), NewGameName()));
    ASSERT_TRUE(WaitForVisits(player, 1));
    const QString oneVisit = SavesOf(player).value(QStringLiteral("progress"));

    const QString name = NewGameName();
    const QString oldKey = QStringLiteral("localhost") +
                           QUrl::fromLocalFile(QStringLiteral("/home/user/旧的程序/FLASH/") + name +
                                               QStringLiteral(".SWF"))
                               .path(QUrl::FullyEncoded) +
                           QStringLiteral("/progress");
    WriteLocalStorage(player, oldKey, oneVisit);
    const QString path = WriteGame(Folder(), name);
    Play(player, path);
    ASSERT_TRUE(WaitForVisits(player, 2)) << VisitsSaved(player);

    WriteLocalStorage(player, oldKey, oneVisit);
    Play(player, path);
    EXPECT_TRUE(WaitForVisits(player, 3)) << VisitsSaved(player);
}

TEST_F(GameSaves, ExportedSavesComeBackAndOthersAreRefused) {
    const QString name = NewGameName();
    TFlashPlayer& player = NewPlayer();
    const QString path = WriteGame(Folder(), name);
    Play(player, path);
    ASSERT_TRUE(WaitForVisits(player, 1));
    const QString saveFile = FTemp.filePath(QStringLiteral("存档.json"));
    ASSERT_EQ(StoreSaveFile(saveFile, name, SavesOf(player)), QString());

    for (int visits = 2; visits <= 3; ++visits) {
        Play(player, path);
        ASSERT_TRUE(WaitForVisits(player, visits));
    }
    const TSaveFileRead read = LoadSaveFile(saveFile, name.toUpper());
    ASSERT_EQ(read.failure, QString());
    std::optional<bool> stored;
    QObject::connect(&player, &TFlashPlayer::SavesWritten, [&](bool answer) { stored = answer; });
    player.WriteSaves(read.saves);
    Play(player, path);
    ASSERT_TRUE(PumpEventsUntil([&] { return stored.has_value(); }));
    EXPECT_TRUE(*stored);
    EXPECT_TRUE(WaitForVisits(player, 2)) << VisitsSaved(player);

    EXPECT_EQ(LoadSaveFile(saveFile, QStringLiteral("别的游戏")).failure,
              QStringLiteral("这是游戏“%1”的存档，不能导入到“别的游戏”。").arg(name));
}

} // namespace
