#include "common/program_folder.h"
#include "platform/file_attributes.h"
#include "upgrade/au_utils.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <array>
#include <gtest/gtest.h>
#include <ostream>
#include <sys/stat.h>
#include <utility>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

class UpgradeFiles : public ::testing::Test {
protected:
    QString MakeFile(const QString& name, const QByteArray& content = "content") {
        const QString path = FFolder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QTemporaryDir FFolder;
};

TEST_F(UpgradeFiles, AttributesRoundTripThroughPermissionsAndTheExtendedAttribute) {
    const QString path = MakeFile(QStringLiteral("app.exe.uTMP"));
    ASSERT_TRUE(ApplyFileAttributes(path, {atrArchive, atrHidden, atrTemporary}));
    EXPECT_EQ(ReadFileAttributes(path),
              WindowsAttribute::Archive | WindowsAttribute::Hidden | WindowsAttribute::Temporary);
    ASSERT_TRUE(ApplyFileAttributes(path, {atrReadOnly, atrSystem, atrOffline}));
    EXPECT_EQ(ReadFileAttributes(path),
              WindowsAttribute::ReadOnly | WindowsAttribute::System | WindowsAttribute::Offline);
    EXPECT_FALSE(QFile::permissions(path).testFlag(QFileDevice::WriteOwner));
    // The empty set is a plain, writable file.
    ASSERT_TRUE(ApplyFileAttributes(path, {}));
    EXPECT_EQ(ReadFileAttributes(path), 0u);
    EXPECT_TRUE(QFile::permissions(path).testFlag(QFileDevice::WriteOwner));
    EXPECT_FALSE(ApplyFileAttributes(FFolder.filePath(QStringLiteral("missing")), {atrArchive}));
    EXPECT_TRUE(IsDirectory(FFolder.path()));
    EXPECT_FALSE(IsDirectory(path));
    EXPECT_FALSE(IsDirectory(FFolder.filePath(QStringLiteral("missing"))));
}

TEST_F(UpgradeFiles, TempFolderFallsBackToTheProgramFolder) {
    const QByteArray saved = qgetenv("TMPDIR");
    SetProgramFolderForTesting(FFolder.path());
    qputenv("TMPDIR", FFolder.filePath(QStringLiteral("sub")).toLocal8Bit());
    ASSERT_TRUE(QDir(FFolder.path()).mkdir(QStringLiteral("sub")));
    EXPECT_EQ(TempFolder(), FFolder.filePath(QStringLiteral("sub/")));
    qputenv("TMPDIR", FFolder.filePath(QStringLiteral("gone")).toLocal8Bit());
    EXPECT_EQ(TempFolder(), FFolder.path() + QLatin1Char('/'));
    qputenv("TMPDIR", saved);
    SetProgramFolderForTesting(QString());
}

TEST_F(UpgradeFiles, FileTimesAndSizes) {
    const QString path = MakeFile(QStringLiteral("a.bin"), QByteArray(3000, 'x'));
    const QDateTime accessed = QFileInfo(path).lastRead();
    const TDateTime serverTime =
        TDateTime::FromLocal(QDateTime(QDate(2009, 1, 15), QTime(10, 30, 17)));
    ASSERT_TRUE(SetFileTimes(path, serverTime, serverTime, TDateTime{-1}));
    const QFileInfo info(path);
    EXPECT_EQ(info.lastModified().toUTC(),
              QDateTime(QDate(2009, 1, 15), QTime(10, 30, 16), Qt::UTC));
    EXPECT_EQ(info.lastRead(), accessed);
    EXPECT_FALSE(SetFileTimes(FFolder.filePath(QStringLiteral("missing")), serverTime, serverTime,
                              serverTime));
    EXPECT_EQ(GetFileSize64(path), 3000);
    EXPECT_EQ(GetFileSize64(FFolder.filePath(QStringLiteral("missing"))), -1);
    EXPECT_EQ(GetFileSize64(FFolder.path()), -1);
}

TEST(SaveResourceToStream, WritesTheWholeResourceAtTheStreamsPosition) {
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    stream.write("head:");
    ASSERT_TRUE(SaveResourceToStream(TauModule::Program, QStringLiteral("AUTEST"),
                                     QStringLiteral("AUTEST"), &stream));
    QFile source(QStringLiteral(PEBBLO_SOURCE_DIR "/tests/upgrade/au_resource.bin"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    EXPECT_EQ(stream.data(), "head:" + source.readAll());
    EXPECT_FALSE(SaveResourceToStream(TauModule::Program, QStringLiteral("NONE"),
                                      QStringLiteral("AUTEST"), &stream));
    EXPECT_FALSE(SaveResourceToStream(TauModule::Program, QStringLiteral("EMPTY"),
                                      QStringLiteral("AUTEST"), &stream));
    EXPECT_FALSE(SaveResourceToStream(TauModule::Program, QStringLiteral("AUTEST"),
                                      QStringLiteral("AUTEST"), nullptr));
    QBuffer closed;
    EXPECT_FALSE(SaveResourceToStream(TauModule::Program, QStringLiteral("AUTEST"),
                                      QStringLiteral("AUTEST"), &closed));
}

TEST(SaveResourceToStream, TheUpgraderIsCarriedByteForByte) {
    QBuffer stream;
    stream.open(QIODevice::WriteOnly);
    ASSERT_TRUE(SaveResourceToStream(TauModule::Program, QStringLiteral("AUUPG"),
                                     QStringLiteral("AUUPG"), &stream));
    QFile upgrader(QStringLiteral(UPGRADER_IMAGE));
    ASSERT_TRUE(upgrader.open(QIODevice::ReadOnly));
    EXPECT_EQ(stream.data(), upgrader.readAll());
}

// A desktop of our own: its default browser is a script that writes down what it was given.
class DesktopBrowser : public UpgradeFiles {
protected:
    void SetUp() override {
        FSavedEnvironment = {qgetenv("XDG_CONFIG_HOME"), qgetenv("XDG_DATA_HOME"),
                             qgetenv("XDG_CURRENT_DESKTOP")};
        QDir(FFolder.path()).mkpath(QStringLiteral("config"));
        QDir(FFolder.path()).mkpath(QStringLiteral("data/applications"));
        FBrowser =
            MakeFile(QStringLiteral("fake-browser"), "#!/bin/sh\necho \"$@\" > \"$0.opened\"\n");
        QFile::setPermissions(FBrowser, QFile::permissions(FBrowser) | QFileDevice::ExeOwner);
        MakeFile(QStringLiteral("config/mimeapps.list"),
                 "[Default Applications]\ntext/html=pebblo-test-browser.desktop\n");
        MakeFile(QStringLiteral("data/applications/pebblo-test-browser.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Test browser\nExec=" +
                     FBrowser.toLocal8Bit() + " --new-window %u\n");
        qputenv("XDG_CONFIG_HOME", FFolder.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", FFolder.filePath(QStringLiteral("data")).toLocal8Bit());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", FSavedEnvironment[0]);
        qputenv("XDG_DATA_HOME", FSavedEnvironment[1]);
        qputenv("XDG_CURRENT_DESKTOP", FSavedEnvironment[2]);
    }

    QString FBrowser;
    std::array<QByteArray, 3> FSavedEnvironment;
};

TEST_F(DesktopBrowser, TheDefaultBrowserIsFoundAndGivenTheAddress) {
    EXPECT_EQ(FindAssociatedProgram(QStringLiteral(".html")), FBrowser);
    EXPECT_EQ(FindAssociatedProgram(QStringLiteral(".")), QString());
    // The addresses come from the information file: one that does not start with a scheme is a
    // web address, even when it looks like an option of the browser.
    const std::pair<QString, QByteArray> addresses[] = {
        {QStringLiteral("www.example.com/news"), "http://www.example.com/news"},
        {QStringLiteral("https://example.com/a?b=c"), "https://example.com/a?b=c"},
        {QStringLiteral("--gpu-launcher=true ://"), "http://--gpu-launcher=true ://"}};
    for (const auto& [address, given] : addresses) {
        QFile opened(FBrowser + QStringLiteral(".opened"));
        opened.remove();
        OpenURL(address, true);
        for (int i = 0; i < 500 && opened.size() == 0; ++i)
            QThread::msleep(10);
        ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
        EXPECT_EQ(opened.readAll(), given + "\n");
    }
}

} // namespace
