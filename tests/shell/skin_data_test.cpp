// The skin engine keeps the built-in look for a skin it cannot use.
#include "shell/skin_data.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString WriteSkin(const QTemporaryDir& folder, const QByteArray& bytes) {
    const QString path = folder.filePath(QStringLiteral("a.skn"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

TEST(SkinData, OnlyASheetQtCanParseReplacesTheBuiltInLook) {
    QTemporaryDir folder;
    TSkinData skin;
    const QString builtIn = skin.AppliedStyleSheet();
    ASSERT_FALSE(builtIn.isEmpty());

    skin.SetSkinFile(WriteSkin(folder, "QWidget { background: #123456; }"));
    EXPECT_TRUE(skin.AppliedStyleSheet().contains(QStringLiteral("#123456")));

    for (const QByteArray& broken :
         {QByteArray("QWidget { background: red; "), QByteArray("}}{{ ]"),
          QByteArray("\x89PNG\r\n\x1a\n\xff\xfe\x00\x01", 12), QByteArray()}) {
        skin.SetSkinFile(WriteSkin(folder, broken));
        EXPECT_EQ(skin.AppliedStyleSheet(), builtIn) << broken.toHex().toStdString();
    }
    skin.SetSkinFile(folder.filePath(QStringLiteral("missing.skn")));
    EXPECT_EQ(skin.AppliedStyleSheet(), builtIn);
}

TEST(SkinData, EveryShippedSkinIsASheetQtParses) {
    const QDir skins(QStringLiteral(PEBBLO_SOURCE_DIR "/skin"));
    const QStringList names = skins.entryList({QStringLiteral("*.skn")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        TSkinData skin;
        skin.SetSkinFile(skins.filePath(name));
        EXPECT_NE(skin.AppliedStyleSheet(), TSkinData().AppliedStyleSheet()) << name.toStdString();
    }
}

} // namespace
