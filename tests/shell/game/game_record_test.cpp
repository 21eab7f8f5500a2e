#include "common/failure.h"
#include "common/gbk_text.h"
#include "shell/game/file_ext.h"
#include "shell/game/flash_url.h"
#include "shell/game/game_record.h"
#include "shell/game/picture_kinds.h"
#include "support/failure_of.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

QString Decoded(const char* coded) {
    return DecodeFlashUrl(QByteArray(coded));
}

TEST(DecodeFlashUrl, EachCodeGivesOneCharacter) {
    EXPECT_EQ(Decoded("&#97&#98&#99"), QStringLiteral("abc"));
    EXPECT_EQ(Decoded("&#104&#116&#116&#112&#58&#47&#47&#104&#46&#120&#47&#97&#46&#115&#119&#102"),
              QStringLiteral("http://h.x/a.swf"));
    EXPECT_EQ(Decoded(""), QString());
    EXPECT_EQ(Decoded(" \r\n"), QString());
}

TEST(DecodeFlashUrl, KeepsTheLowEightBitsOfEachCode) {
    EXPECT_EQ(Decoded("&#353"), QStringLiteral("a"));
    EXPECT_EQ(Decoded("&#-159"), QStringLiteral("a"));
    EXPECT_EQ(Decoded("&#$7FFFFF61&#-2147483551"), QStringLiteral("aa"));
}

TEST(DecodeFlashUrl, ReadsIntegersAsTheSettingsDo) {
    EXPECT_EQ(Decoded("&#$61&#x62&#X63&#0x64"), QStringLiteral("abcd"));
    EXPECT_EQ(Decoded("&#  97&#+98"), QStringLiteral("ab"));
    // Blank pieces between codes are skipped, not converted.
    EXPECT_EQ(Decoded("  &#97&# &#98"), QStringLiteral("ab"));
}

TEST(DecodeFlashUrl, CodesDecodeAsGbkText) {
    const QByteArray zhong = ToGbk(QStringLiteral("中"));
    const QByteArray coded = "&#" + QByteArray::number(static_cast<unsigned char>(zhong[0])) +
                             "&#" + QByteArray::number(static_cast<unsigned char>(zhong[1]));
    EXPECT_EQ(DecodeFlashUrl(coded), QStringLiteral("中"));
}

TEST(DecodeFlashUrl, FailsOnAPieceThatIsNoIntegerNamingItUntrimmed) {
    EXPECT_EQ(FailureOf([] { Decoded("&#97;&#98;"); }),
              QStringLiteral("'97;' is not a valid integer value"));
    EXPECT_EQ(FailureOf([] { Decoded("x&#97"); }),
              QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(FailureOf([] { Decoded("&#97\r\n"); }),
              QStringLiteral("'97\r\n' is not a valid integer value"));
    EXPECT_EQ(FailureOf([] { Decoded("&#97 "); }),
              QStringLiteral("'97 ' is not a valid integer value"));
    EXPECT_EQ(FailureOf([] { Decoded("&#2147483648"); }),
              QStringLiteral("'2147483648' is not a valid integer value"));
    EXPECT_EQ(FailureOf([] { Decoded("&#-"); }),
              QStringLiteral("'-' is not a valid integer value"));
    EXPECT_EQ(FailureOf([] { Decoded("&#$"); }),
              QStringLiteral("'$' is not a valid integer value"));
    EXPECT_EQ(FailureOf([] { Decoded("&#\t97"); }),
              QStringLiteral("'\t97' is not a valid integer value"));
}

TEST(ExtractFileExt, TakesTheTextFromTheLastDotUnlessABackslashOrColonFollows) {
    EXPECT_EQ(ExtractFileExt(QStringLiteral("http://h.example/pic/a.gif")), QStringLiteral(".gif"));
    EXPECT_EQ(ExtractFileExt(QStringLiteral("http://h.example/pic/a.tar.JPG")),
              QStringLiteral(".JPG"));
    EXPECT_EQ(ExtractFileExt(QStringLiteral("http://h.example/pic/123")),
              QStringLiteral(".example/pic/123"));
    EXPECT_EQ(ExtractFileExt(QStringLiteral("http://localhost/pic/123")), QString());
    EXPECT_EQ(ExtractFileExt(QStringLiteral("http://h.example:8080/pic")), QString());
    EXPECT_EQ(ExtractFileExt(QStringLiteral("c:\\dir.x\\name")), QString());
    EXPECT_EQ(ExtractFileExt(QStringLiteral("name.")), QStringLiteral("."));
    EXPECT_EQ(ExtractFileExt(QString()), QString());
}

TEST(PictureKinds, AcceptsFourLowerCaseExtensionsAndFourSignatures) {
    EXPECT_TRUE(IsAcceptedPictureExt(QStringLiteral(".png")));
    EXPECT_FALSE(IsAcceptedPictureExt(QStringLiteral(".JPG")));
    EXPECT_FALSE(IsAcceptedPictureExt(QStringLiteral(".jpeg")));
    EXPECT_FALSE(IsAcceptedPictureExt(QString()));

    EXPECT_TRUE(IsAcceptedPictureContent(QByteArrayLiteral("\xFF\xD8\xFF\xE0")));
    EXPECT_TRUE(IsAcceptedPictureContent(QByteArrayLiteral("GIF89a")));
    EXPECT_TRUE(IsAcceptedPictureContent(QByteArrayLiteral("BM")));
    EXPECT_TRUE(IsAcceptedPictureContent(QByteArrayLiteral("\x89PNG")));
    EXPECT_FALSE(IsAcceptedPictureContent(QByteArrayLiteral("<html>")));
    EXPECT_FALSE(IsAcceptedPictureContent(QByteArrayLiteral("B")));
    EXPECT_FALSE(IsAcceptedPictureContent(QByteArray()));
}

TEST(PictureKinds, StoredPicNameFallsBackToThePlaceholder) {
    TGameInfo game;
    game.picName = QStringLiteral("坦克.gif");
    EXPECT_EQ(StoredPicName(game), QStringLiteral("坦克.gif"));
    game.picName = QStringLiteral("坦克.JPG");
    EXPECT_EQ(StoredPicName(game), QStringLiteral("nopic.gif"));
    game.picName = QStringLiteral("坦克.example/pic/123");
    EXPECT_EQ(StoredPicName(game), QStringLiteral("nopic.gif"));
}

TEST(ParseGameRecord, FillsTheFieldsInTheirPlaces) {
    const QByteArray reply = ToGbk(QStringLiteral(
        "12| 坦克大战 |好玩的游戏\r\n|&#97&#46&#115&#119&#102|http://h.example/p/t.jpg"));
    const TGameInfo game = ParseGameRecord(reply);
    TGameInfo expected;
    expected.id = QStringLiteral("12");
    expected.flashname = QStringLiteral(" 坦克大战 ");
    expected.flashurl = QStringLiteral("a.swf");
    expected.picUrl = QStringLiteral("http://h.example/p/t.jpg");
    expected.picName = QStringLiteral(" 坦克大战 .jpg");
    expected.body = QStringLiteral("好玩的游戏\r\n");
    EXPECT_EQ(game, expected);
}

TEST(ParseGameRecord, UsesTheFirstFiveFieldsAndKeepsTheFifthCoded) {
    const TGameInfo game = ParseGameRecord("7|n|b||&#97|extra|more\r\n");
    EXPECT_EQ(game.flashurl, QString());
    EXPECT_EQ(game.picUrl, QStringLiteral("&#97"));
    // No "." in the picture address: the picture name is the game name.
    EXPECT_EQ(game.picName, QStringLiteral("n"));
    EXPECT_TRUE(game.nclass.isEmpty() && game.classid.isEmpty() && game.isGood.isEmpty());
}

TEST(ParseGameRecord, NamesTheFirstMissingField) {
    EXPECT_EQ(FailureOf([] { ParseGameRecord(""); }),
              QStringLiteral("List index out of bounds (0)"));
    EXPECT_EQ(FailureOf([] { ParseGameRecord(" \r\n"); }),
              QStringLiteral("List index out of bounds (0)"));
    EXPECT_EQ(FailureOf([] { ParseGameRecord("1|n"); }),
              QStringLiteral("List index out of bounds (2)"));
    EXPECT_EQ(FailureOf([] { ParseGameRecord("1|n|b"); }),
              QStringLiteral("List index out of bounds (3)"));
    EXPECT_EQ(FailureOf([] { ParseGameRecord("1|n|b|&#97"); }),
              QStringLiteral("List index out of bounds (4)"));
}

TEST(ParseGameRecord, DecodesTheAddressBeforeLookingForTheFifthField) {
    EXPECT_EQ(FailureOf([] { ParseGameRecord("1|n|b|&#9x"); }),
              QStringLiteral("'9x' is not a valid integer value"));
    EXPECT_EQ(FailureOf([] { ParseGameRecord("1|n|b|a b|p.gif"); }),
              QStringLiteral("'a b' is not a valid integer value"));
}

} // namespace
