// The information file's parse and the version decision, without display or network.
#include "common/date_time.h"
#include "common/gbk_text.h"
#include "upgrade/au_info_file.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

// "Today" is pinned for the decisions by date.
class PinnedToday : public ::testing::Test {
protected:
    void SetUp() override {
        TClock::SetNowForTesting([] { return QDateTime(QDate(2009, 1, 20), QTime(12, 0)); });
    }
    void TearDown() override { TClock::SetNowForTesting(nullptr); }
};

TEST(InfoFile, ValuesEndAtControlBytesOrTheEndAndKeepTheirCase) {
    const TauInfoFileContent info = ParseInfoFile("#VERSION=3.8 Beta\r\n"
                                                  "#Date=01/15/2009\t(release)\r\n"
                                                  "#Method=1\r\n"
                                                  "#Url=http://Vendor.example/Down/App.exe");
    EXPECT_EQ(info.Version, QStringLiteral("3.8 Beta"));
    EXPECT_EQ(info.Date, QStringLiteral("01/15/2009"));
    EXPECT_EQ(info.Method, umUseExternalSetup);
    // The last line has no line end: its value runs to the end of the file.
    EXPECT_EQ(info.Files, QStringList{QStringLiteral("http://Vendor.example/Down/App.exe")});
}

TEST(InfoFile, FilesAreNumberedOnFromTheFilesAlreadyFound) {
    EXPECT_EQ(ParseInfoFile("#url=a\n#url1=b\n#url2=c\n").Files, (QStringList{"a", "c"}));
    EXPECT_EQ(ParseInfoFile("#url1=a\n#url3=c\n").Files, QStringList{"a"});
    EXPECT_EQ(ParseInfoFile("#url1=a\n#url2=b\n#url3=c\n").Files, (QStringList{"a", "b", "c"}));
    EXPECT_EQ(ParseInfoFile("#url=a\n#url0=b\n#url3=c\n#url4=d\n#url2=\n").Files,
              (QStringList{"a", "b", "c", "d"}));
    // An empty value counts as absent and ends the numbering.
    EXPECT_EQ(ParseInfoFile("#url=\n#url1=a\n#url2=\n#url3=c\n").Files, QStringList{"a"});
}

TEST(InfoFile, TheMessageNeedsItsBraceAndStopsAtTheFirstClosingOne) {
    const QByteArray gbkMessage = ToGbk(QStringLiteral("新版本 3.8\r\n下载更快。"));
    EXPECT_EQ(ParseInfoFile("#message={" + gbkMessage + "} and {more}\n").Message,
              QStringLiteral("新版本 3.8\r\n下载更快。"));
    EXPECT_TRUE(ParseInfoFile("#message=Version 3.8}\n").Message.isEmpty());
    EXPECT_EQ(ParseInfoFile("#message={runs to the end").Message,
              QStringLiteral("runs to the end"));
    // The first occurrence anywhere wins, even inside another value.
    const TauInfoFileContent quoted =
        ParseInfoFile("#message={see #url=http://old.example/x\n}\n#url=http://new.example/y\n");
    EXPECT_EQ(quoted.Files, QStringList{"http://old.example/x"});
    EXPECT_EQ(ParseInfoFile("#method=2\n").Method, umRedirectToURL);
    EXPECT_EQ(ParseInfoFile("#method=x1\n").Method, umSelfUpgrade);
}

TEST(InfoFile, EachFileHasItsSizeAndDigestInKeysOfItsOwnNumber) {
    const QByteArray digest(64, 'a');
    const TauInfoFileContent info =
        ParseInfoFile("#url=http://x.example/a\n#size=12\n#sha256=" + digest +
                      "\n#url0=http://x.example/b\n"
                      "#size0= 7 \n#sha256_0=" +
                      digest.toUpper() +
                      "\n#url3=http://x.example/c\n#size3=-1\n"
                      "#sha256_3=" +
                      digest.left(63) + "\n");
    ASSERT_EQ(info.Files.size(), 3);
    EXPECT_EQ(info.FileKeys, (QList<QByteArray>{"url", "url0", "url3"}));
    EXPECT_EQ(info.Digests[0].Size, 12);
    EXPECT_EQ(info.Digests[0].Sha256, QByteArray(32, '\xaa'));
    EXPECT_TRUE(info.Digests[0].Complete());
    // Blanks around a value do not count, letter case of the digits neither.
    EXPECT_EQ(info.Digests[1].Size, 7);
    EXPECT_TRUE(info.Digests[1].Complete());
    // A signed size or a digest one digit short is no digest at all.
    EXPECT_FALSE(info.Digests[2].Complete());
    EXPECT_EQ(info.Digests[2].Size, -1);
    EXPECT_TRUE(info.Digests[2].Sha256.isEmpty());
    EXPECT_EQ(SizeKeyOf("url12"), QByteArray("size12"));
    EXPECT_EQ(DigestKeyOf("url12"), QByteArray("sha256_12"));
    EXPECT_EQ(DigestKeyOf("url"), QByteArray("sha256"));
}

TEST(InfoFile, ASetValueIsTheOneAReaderFinds) {
    // Replaced where a reader finds it: the first occurrence, in any letter case.
    QByteArray text = "#message={\r\n#SIZE=1\r\n}\r\n#url=a\r\n#size=2\r\n";
    SetOneLineValue(text, "size", "300");
    EXPECT_EQ(text, QByteArray("#message={\r\n#SIZE=300\r\n}\r\n#url=a\r\n#size=2\r\n"));
    EXPECT_EQ(ParseInfoFile(text).Digests[0].Size, 300);
    // Added on a line of its own, in the text's own line ends, after a last line without one.
    text = "#url=a\r\n#url2=b";
    SetOneLineValue(text, "sha256_2", "ff");
    EXPECT_EQ(text, QByteArray("#url=a\r\n#url2=b\r\n#sha256_2=ff\r\n"));
    text = "#url=a\n";
    SetOneLineValue(text, "size", "1");
    EXPECT_EQ(text, QByteArray("#url=a\n#size=1\n"));
}

TEST(InfoFile, GarbageAndHugeFilesGiveOrdinaryOutcomes) {
    QRandomGenerator random(20090115);
    QByteArray garbage(512 * 1024, '\0');
    for (char& byte : garbage)
        byte = static_cast<char>(random.bounded(256));
    // Pattern bytes sprinkled in, so that half-keys and keys at the very end occur.
    for (int i = 0; i < 4000; ++i)
        garbage[random.bounded(garbage.size())] = "#={}\r\n"[random.bounded(6)];
    const TauInfoFileContent noise = ParseInfoFile(garbage + "#url");
    EXPECT_TRUE(noise.Files.isEmpty());
    EXPECT_EQ(ParseInfoFile(garbage + "\n#url=http://x.example/a.exe").Files,
              QStringList{"http://x.example/a.exe"});

    // A megabyte of numbered files is read in one pass, not one search per key.
    QByteArray many;
    for (int k = 1; many.size() < kLargestInfoFile; ++k)
        many +=
            "#url" + QByteArray::number(k) + "=http://x.example/" + QByteArray::number(k) + "\n";
    const TauInfoFileContent listed = ParseInfoFile(many);
    ASSERT_GT(listed.Files.size(), 30000);
    EXPECT_EQ(listed.Files.constLast(),
              QStringLiteral("http://x.example/%1").arg(listed.Files.size()));

    const TauInfoFileContent empty = ParseInfoFile(QByteArray());
    EXPECT_TRUE(empty.Files.isEmpty());
    EXPECT_FALSE(IsNewerVersion(byNumber, empty, QStringLiteral("3.7"), QString()));
}

TEST(InfoFile, VersionsCompareByNumberOrAsWholeTexts) {
    const auto newer = [](const char* offered) {
        TauInfoFileContent info;
        info.Version = QString::fromLatin1(offered);
        return IsNewerVersion(byNumber, info, QStringLiteral("3.7"), QStringLiteral("12/17/2008"));
    };
    EXPECT_FALSE(newer("3.7"));
    EXPECT_FALSE(newer("3.7.0.0"));
    EXPECT_FALSE(newer("3.6.9"));
    EXPECT_TRUE(newer("3.8"));
    EXPECT_TRUE(newer("3.10"));
    EXPECT_TRUE(newer("3.7.1"));
    EXPECT_TRUE(newer("3.7 beta"));
    // Blanks around it: the same version, not a newer one offered for ever.
    EXPECT_FALSE(newer("3.7 "));
    EXPECT_FALSE(newer(" 3.7"));
    EXPECT_TRUE(newer("3.8 "));
}

TEST_F(PinnedToday, DatesCompareStrictlyAndAnUnreadableOneIsToday) {
    const auto newer = [](const char* offered, const char* running) {
        TauInfoFileContent info;
        info.Date = QString::fromLatin1(offered);
        return IsNewerVersion(byDate, info, QStringLiteral("3.7"), QString::fromLatin1(running));
    };
    EXPECT_TRUE(newer("01/15/2009", "12/17/2008"));
    EXPECT_FALSE(newer("12/17/2008", "12/17/2008"));
    EXPECT_FALSE(newer("1/5/2008", "12/17/2008"));
    // Missing or malformed: today, which is newer exactly when the running date is earlier.
    for (const char* unreadable : {"", "01-15-2009", "02/30/2009", "1/x/2009", "13/01/2009"}) {
        EXPECT_TRUE(newer(unreadable, "01/19/2009")) << unreadable;
        EXPECT_FALSE(newer(unreadable, "01/20/2009")) << unreadable;
    }
    EXPECT_EQ(ParseVersionDate(QStringLiteral("2/3/2009")), QDate(2009, 2, 3));
    EXPECT_EQ(FormatVersionDate(QDate(2009, 2, 3)), QStringLiteral("02/03/2009"));
}

} // namespace
