#include "common/failure.h"
#include "common/gbk_text.h"
#include "config/config_manager.h"
#include "support/failure_of.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

class ConfigStore : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        TConfigManager::SetConfigFilePath(Path());
    }

    QString Path() const { return FDir.filePath(QStringLiteral("config.xml")); }

    void WriteFile(const QByteArray& bytes) const {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray FileBytes() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QString Read(const QString& key) {
        QString value = QStringLiteral("stale");
        TConfigManager::ReadValue(key, value);
        return value;
    }

    QTemporaryDir FDir;
};

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";

TEST_F(ConfigStore, FirstUseCreatesAnEmptyRootAndDefaultsAppendInOrderAsGb2312) {
    EXPECT_EQ(Read(QStringLiteral("skin")), QString());
    EXPECT_TRUE(FileBytes().startsWith(kDeclaration));
    EXPECT_TRUE(FileBytes().contains("<configuration/>"));

    TConfigManager::WriteValue(QStringLiteral("Skin"), QStringLiteral("默认主题.skn"));
    TConfigManager::WriteValue(QStringLiteral("HideHotKey"), QStringLiteral("16449"));
    TConfigManager::WriteValue(QStringLiteral("CloseHotKey"), QStringLiteral("-1"));

    const QByteArray expected = "<configuration><Skin>" + ToGbk(QStringLiteral("默认主题.skn")) +
                                "</Skin><HideHotKey>16449</HideHotKey>"
                                "<CloseHotKey>-1</CloseHotKey></configuration>";
    EXPECT_TRUE(FileBytes().contains(expected)) << FileBytes().toStdString();
    EXPECT_EQ(Read(QStringLiteral("skin")), QStringLiteral("默认主题.skn"));
}

TEST_F(ConfigStore, KeysMatchIgnoringLetterCaseAndSurroundingBlanks) {
    WriteFile(kDeclaration +
              "\n<settings>\n  <SKIN>a.skn</SKIN>\n  <HideHotKey>32833</HideHotKey>\n"
              "  <Empty/>\n</settings>\n");
    EXPECT_EQ(Read(QStringLiteral("skin")), QStringLiteral("a.skn"));
    EXPECT_EQ(Read(QStringLiteral(" HideHotKey\t")), QStringLiteral("32833"));
    EXPECT_EQ(Read(QStringLiteral("empty")), QString());
    EXPECT_EQ(Read(QStringLiteral("Missing")), QString());

    TConfigManager::WriteValue(QStringLiteral("Skin"), QStringLiteral("b.skn"));
    EXPECT_TRUE(FileBytes().contains("<SKIN>b.skn</SKIN>"));
    TConfigManager::WriteValue(QStringLiteral("Empty"), QStringLiteral("x"));
    EXPECT_TRUE(FileBytes().contains("<Empty>x</Empty>"));
    TConfigManager::WriteValue(QStringLiteral("NewKey"), QStringLiteral("1"));
    EXPECT_TRUE(FileBytes().contains("<NewKey>1</NewKey></settings>"));
}

// A name is matched as the file writes it, prefix and all, so an appended prefixed key reads back.
TEST_F(ConfigStore, PrefixedNamesMatchWithTheirPrefix) {
    WriteFile("<configuration xmlns:a=\"urn:a\"><a:Skin>x</a:Skin></configuration>");
    EXPECT_EQ(Read(QStringLiteral("Skin")), QString());
    EXPECT_EQ(Read(QStringLiteral("a:SKIN")), QStringLiteral("x"));
    TConfigManager::WriteValue(QStringLiteral("a:Theme"), QStringLiteral("1"));
    EXPECT_EQ(Read(QStringLiteral("a:Theme")), QStringLiteral("1"));
}

// Under a prefixed root, a new setting is written without the root's prefix, so it reads back
// by the name it was written with; the root's own prefixed settings stay as they are.
TEST_F(ConfigStore, ASettingWrittenUnderAPrefixedRootReadsBack) {
    WriteFile("<c:configuration xmlns:c=\"urn:c\"><c:Skin>x</c:Skin></c:configuration>");
    TConfigManager::WriteValue(QStringLiteral("HideHotKey"), QStringLiteral("49242"));
    EXPECT_EQ(Read(QStringLiteral("HideHotKey")), QStringLiteral("49242"));
    EXPECT_EQ(Read(QStringLiteral("c:Skin")), QStringLiteral("x"));
    TConfigManager::WriteValue(QStringLiteral("c:Skin"), QStringLiteral("y"));
    EXPECT_EQ(Read(QStringLiteral("c:Skin")), QStringLiteral("y"));
}

TEST_F(ConfigStore, OnlyTheFirstOfTwoNamesakesIsReadAndWritten) {
    WriteFile("<configuration><Skin>first</Skin><skin>second</skin></configuration>");
    EXPECT_EQ(Read(QStringLiteral("Skin")), QStringLiteral("first"));
    TConfigManager::WriteValue(QStringLiteral("SKIN"), QStringLiteral("new"));
    EXPECT_TRUE(FileBytes().contains("<Skin>new</Skin><skin>second</skin>"));
}

TEST_F(ConfigStore, MixedContentFailsForReadAndWrite) {
    const QByteArray mixed = "<configuration><Skin>a<b/>c</Skin><Nested><x/></Nested>"
                             "<Data><![CDATA[c&d]]></Data></configuration>";
    WriteFile(mixed);
    const QString expected = QStringLiteral("Element does not contain a single text node");
    EXPECT_EQ(FailureOf([] { Read(QStringLiteral("skin")); }), expected);
    EXPECT_EQ(FailureOf([] { Read(QStringLiteral("nested")); }), expected);
    EXPECT_EQ(
        FailureOf([] { TConfigManager::WriteValue(QStringLiteral("Skin"), QStringLiteral("x")); }),
        expected);
    EXPECT_EQ(Read(QStringLiteral("data")), QStringLiteral("c&d"));
    EXPECT_EQ(FileBytes(), mixed);
}

TEST_F(ConfigStore, MalformedFileFailsWithTheParsersMessageAndIsNeverTouched) {
    const QByteArray malformed = "<configuration><Skin>a.skn</configuration>";
    WriteFile(malformed);
    const QString readFailure = FailureOf([] { Read(QStringLiteral("Skin")); });
    EXPECT_NE(readFailure, QStringLiteral("no failure"));
    EXPECT_EQ(
        FailureOf([] { TConfigManager::WriteValue(QStringLiteral("Skin"), QStringLiteral("b")); }),
        readFailure);
    EXPECT_EQ(FileBytes(), malformed);

    WriteFile("");
    EXPECT_NE(FailureOf([] { Read(QStringLiteral("Skin")); }), QStringLiteral("no failure"));
}

TEST_F(ConfigStore, ValuesWithMarkupCharactersRoundTrip) {
    const QString value = QStringLiteral("a<b>&\"c\" 游戏");
    TConfigManager::WriteValue(QStringLiteral("Skin"), value);
    EXPECT_EQ(Read(QStringLiteral("Skin")), value);
}

TEST_F(ConfigStore, AKeyThatIsNoElementNameIsRefusedAndTheFileStaysLoadable) {
    TConfigManager::EnsureConfigFile();
    const QByteArray before = FileBytes();
    EXPECT_NE(FailureOf([] {
                  TConfigManager::WriteValue(QStringLiteral(" Hide HotKey"), QStringLiteral("1"));
              }),
              QStringLiteral("no failure"));
    EXPECT_EQ(FileBytes(), before);
}

// GB2312 lacks most of Unicode and libxml2 writes some markup unescaped: these saves would leave
// a file that reads back otherwise, or not at all, so they are refused and the file stays.
TEST_F(ConfigStore, ASaveThatWouldNotReadBackIsRefusedAndTheFileStays) {
    const QByteArray firstStart = kDeclaration +
                                  "<configuration><Skin>a.skn</Skin><CloseHotKey>-1</CloseHotKey>"
                                  "</configuration>";
    const QByteArray utf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><configuration>"
                            "<Skin>a.skn</Skin><CloseHotKey><![CDATA[\u20ac]]></CloseHotKey>"
                            "</configuration>";
    const QByteArray lessThan =
        "<configuration xmlns:a=\"&lt;\"><Skin>a.skn</Skin></configuration>";
    const struct {
        QByteArray File;
        QString Key;
        QString Value;
    } cases[] = {
        {firstStart, QStringLiteral("Größe"), QStringLiteral("1")},       // a name GB2312 lacks
        {firstStart, QStringLiteral("Skin"), QStringLiteral("a\u0004b")}, // no XML character
        {utf8, QStringLiteral("Skin"), QStringLiteral("b.skn")},     // character data GB2312 lacks
        {lessThan, QStringLiteral("Skin"), QStringLiteral("b.skn")}, // written back unescaped
    };
    for (const auto& [file, key, value] : cases) {
        WriteFile(file);
        EXPECT_EQ(
            FailureOf([&] { TConfigManager::WriteValue(key, value); }),
            QStringLiteral("无法保存设置：写出的“config.xml”不能原样读回，原来的文件没有改动"))
            << file.toStdString();
        EXPECT_EQ(FileBytes(), file);
        EXPECT_EQ(Read(QStringLiteral("Skin")), QStringLiteral("a.skn"));
    }
}

// A setting never takes another file's contents: entities stay references (so the element holds
// no plain value) and no DTD is fetched, and the next save cannot copy the file in either.
TEST_F(ConfigStore, NothingOutsideTheFileIsRead) {
    const QString secret = FDir.filePath(QStringLiteral("secret.txt"));
    const QString dtd = FDir.filePath(QStringLiteral("other.dtd"));
    const auto url = [](const QString& path) {
        return QUrl::fromLocalFile(path).toEncoded();
    };
    {
        QFile file(secret);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("PRIVATE");
        QFile declarations(dtd);
        ASSERT_TRUE(declarations.open(QIODevice::WriteOnly));
        declarations.write("<!ENTITY e SYSTEM \"" + url(secret) + "\">");
    }
    WriteFile(kDeclaration + "<!DOCTYPE configuration SYSTEM \"" + url(dtd) +
              "\" [<!ENTITY s SYSTEM \"" + url(secret) +
              "\">]><configuration><Skin>&s;</Skin><Theme>&e;</Theme></configuration>");
    const QString notAValue = QStringLiteral("Element does not contain a single text node");
    EXPECT_EQ(FailureOf([] { Read(QStringLiteral("Skin")); }), notAValue);
    EXPECT_EQ(FailureOf([] { Read(QStringLiteral("Theme")); }), notAValue);

    TConfigManager::WriteValue(QStringLiteral("HideHotKey"), QStringLiteral("16449"));
    EXPECT_FALSE(FileBytes().contains("PRIVATE"));
    EXPECT_TRUE(FileBytes().contains("<Skin>&s;</Skin><Theme>&e;</Theme>"));
    EXPECT_EQ(Read(QStringLiteral("HideHotKey")), QStringLiteral("16449"));
}

// A save that cannot be completed (here the file size limit stands in for a full disk) leaves
// the previous file byte for byte.
TEST_F(ConfigStore, AFailedSaveLeavesThePreviousFileWhole) {
    TConfigManager::WriteValue(QStringLiteral("Skin"), QStringLiteral("a.skn"));
    const QByteArray before = FileBytes();

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit original{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
    rlimit tight = original;
    tight.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const QString failure = FailureOf([] {
        TConfigManager::WriteValue(QStringLiteral("Skin"), QString(100000, QLatin1Char('x')));
    });
    setrlimit(RLIMIT_FSIZE, &original);

    EXPECT_NE(failure, QStringLiteral("no failure"));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files), QStringList{QStringLiteral("config.xml")});
}

} // namespace
