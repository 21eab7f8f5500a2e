// The vendor's signing tool run for real: the key pair it makes, the information file it fills
// in and signs, and its check, each as the client reads them.
#include "upgrade/au_info_file.h"
#include "upgrade/au_signature.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct TRun {
    int ExitCode = -1;
    QByteArray Output;
};

TRun Sign(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(SIGN_TOOL), arguments);
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit)
        return {};
    return {tool.exitCode(), tool.readAllStandardOutput()};
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(SigningTool, SignsWhatTheClientVerifiesAndNothingElse) {
    QTemporaryDir folder;
    const QString key = folder.filePath(QStringLiteral("vendor.key"));
    const TRun keygen = Sign({QStringLiteral("keygen"), key});
    ASSERT_EQ(keygen.ExitCode, 0);
    const QByteArray publicHex = keygen.Output.trimmed();
    ASSERT_EQ(publicHex.size(), 64);
    EXPECT_EQ(Contents(key + QStringLiteral(".pub")).trimmed(), publicHex);
    EXPECT_EQ(QFile::permissions(key), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadUser | QFileDevice::WriteUser);
    // A vendor's key is never overwritten.
    const QByteArray secret = Contents(key);
    EXPECT_EQ(Sign({QStringLiteral("keygen"), key}).ExitCode, 1);
    EXPECT_EQ(Contents(key), secret);

    const QString files = folder.filePath(QStringLiteral("files"));
    ASSERT_TRUE(QDir().mkdir(files));
    const QByteArray program(70000, 'p');
    ASSERT_TRUE(Write(files + QStringLiteral("/app.bin"), program));
    ASSERT_TRUE(Write(files + QStringLiteral("/data.bin"), "data"));
    const QString info = folder.filePath(QStringLiteral("update.xml"));
    // GBK text with CR LF line ends, as the vendor writes it; its size key already there but
    // stale.
    const QByteArray written = "#version=3.8\r\n#message={\xd0\xc2\xb0\xe6}\r\n"
                               "#url=http://v.example/down/app.bin\r\n#size=1\r\n"
                               "#url2=http://v.example/down/data.bin";
    ASSERT_TRUE(Write(info, written));
    ASSERT_EQ(Sign({QStringLiteral("sign"), key, info, files}).ExitCode, 0);

    const QByteArray signedInfo = Contents(info);
    const QByteArray publicKey = QByteArray::fromHex(publicHex);
    EXPECT_TRUE(IsSignedBy(signedInfo, Contents(info + QStringLiteral(".sig")), publicKey));
    const TauInfoFileContent listed = ParseInfoFile(signedInfo);
    ASSERT_EQ(listed.Files.size(), 2);
    EXPECT_EQ(listed.Digests[0].Size, program.size());
    EXPECT_EQ(listed.Digests[0].Sha256,
              QCryptographicHash::hash(program, QCryptographicHash::Sha256));
    EXPECT_EQ(listed.Digests[1].Size, 4);
    EXPECT_TRUE(signedInfo.startsWith(written.left(written.indexOf("#size"))));
    EXPECT_EQ(Sign({QStringLiteral("verify"), QString::fromLatin1(publicHex), info}).ExitCode, 0);

    // One byte changed, or another key: no longer the vendor's.
    QByteArray changed = signedInfo;
    changed.replace("3.8", "3.9");
    ASSERT_TRUE(Write(info, changed));
    EXPECT_FALSE(IsSignedBy(changed, Contents(info + QStringLiteral(".sig")), publicKey));
    EXPECT_EQ(Sign({QStringLiteral("verify"), QString::fromLatin1(publicHex), info}).ExitCode, 1);
    ASSERT_TRUE(Write(info, signedInfo));
    EXPECT_EQ(Sign({QStringLiteral("verify"), QString(64, QLatin1Char('0')), info}).ExitCode, 1);

    // A listed file that is not there: nothing is signed and the file stays as it was.
    ASSERT_TRUE(QFile::remove(files + QStringLiteral("/data.bin")));
    const QByteArray signature = Contents(info + QStringLiteral(".sig"));
    EXPECT_EQ(Sign({QStringLiteral("sign"), key, info, files}).ExitCode, 1);
    EXPECT_EQ(Contents(info), signedInfo);
    EXPECT_EQ(Contents(info + QStringLiteral(".sig")), signature);
}

} // namespace
