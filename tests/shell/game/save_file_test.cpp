// The save file a user exports and imports: what comes back is what went out, and a file that
// is not that game's well-formed saves is refused with a reason, whatever it holds.
#include "shell/game/save_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kGame = QStringLiteral("小猫钓鱼");
// The header of a .sol file, a name and an AMF number: a real object's bytes.
constexpr char kSolBytes[] = "\x00\xbf\x00\x00\x00\x1a"
                             "TCSO\x00\x04\x00\x00\x00\x00\x00\x01"
                             "a\x00\x00\x00\x00";
const QString kSave = QString::fromLatin1(QByteArray(kSolBytes, sizeof kSolBytes - 1).toBase64());

QByteArray FileWith(const QString& saves, const QString& game = kGame, int version = 1) {
    return QStringLiteral(R"({"format": "pebblo-saves", "version": %1, "game": "%2", "saves": %3})")
        .arg(version)
        .arg(game, saves)
        .toUtf8();
}

TEST(SaveFile, WhatIsStoredReadsBackForTheSameGameInAnyCase) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("存档.json"));
    const TGameSaves saves{{QStringLiteral("progress"), kSave}, {QStringLiteral("设置"), kSave}};
    ASSERT_EQ(StoreSaveFile(path, QStringLiteral("Fish 小猫"), saves), QString());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("存档.json")});
    const TSaveFileRead read = LoadSaveFile(path, QStringLiteral("FISH 小猫"));
    EXPECT_EQ(read.failure, QString());
    EXPECT_EQ(read.saves, saves);
}

TEST(SaveFile, AnythingElseIsRefusedWithItsReason) {
    const QString notSaves = QStringLiteral("这个文件不是游戏存档，或者已经损坏。");
    const QString broken = QStringLiteral("存档文件里的“progress”已损坏，没有导入任何存档。");
    const QString good = QStringLiteral(R"({"progress": "%1"})").arg(kSave);
    const std::vector<std::pair<QByteArray, QString>> cases{
        {QByteArray(), notSaves},
        {QByteArray("\xff\xfe{\x00", 4), notSaves},
        {"[1, 2]", notSaves},
        {FileWith(good).replace("pebblo-saves", "other"), notSaves},
        {FileWith(good).left(40), notSaves},
        {FileWith(good, kGame, 2), QStringLiteral("这个存档来自更新版本的客户端，无法导入。")},
        {FileWith(good, QStringLiteral("别的游戏")),
         QStringLiteral("这是游戏“别的游戏”的存档，不能导入到“小猫钓鱼”。")},
        {FileWith(QStringLiteral("{}")), QStringLiteral("这个存档文件里没有存档。")},
        {FileWith(QStringLiteral("[]")), QStringLiteral("这个存档文件里没有存档。")},
        {FileWith(QStringLiteral(R"({"progress": 12})")), broken},
        {FileWith(QStringLiteral(R"({"progress": "not base64!"})")), broken},
        {FileWith(QStringLiteral(R"({"progress": "aGVsbG8gd29ybGQ="})")), broken},
        {FileWith(QStringLiteral(R"({"progress": "%1", "a\u0001": "%1"})").arg(kSave)),
         QStringLiteral("存档文件里的“a\x01”已损坏，没有导入任何存档。")},
    };
    for (const auto& [text, failure] : cases) {
        SCOPED_TRACE(text.toStdString());
        const TSaveFileRead read = ReadSaveFile(text, kGame);
        EXPECT_EQ(read.failure, failure);
        EXPECT_TRUE(read.saves.isEmpty());
    }
}

TEST(SaveFile, AFileThatCannotBeReadOrIsTooLargeIsRefused) {
    QTemporaryDir folder;
    EXPECT_TRUE(LoadSaveFile(folder.filePath(QStringLiteral("没有.json")), kGame)
                    .failure.startsWith(QStringLiteral("无法读取存档文件：")));
    QFile large(folder.filePath(QStringLiteral("大.json")));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly));
    ASSERT_TRUE(large.resize(33 * 1024 * 1024));
    large.close();
    EXPECT_EQ(LoadSaveFile(large.fileName(), kGame).failure,
              QStringLiteral("这个文件太大，不是游戏存档。"));
}

} // namespace
