// A stored game is checked before it plays: by its fingerprint when it has one, by its own header
// when it was stored by an older client, which then gets its fingerprint.
#include "common/common_method.h"
#include "library/game_file_check.h"
#include "library/library_tables.h"
#include "library_fixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>

namespace {

QByteArray Movie(char signature, const QByteArray& body) {
    QByteArray header = QByteArray(1, signature) + "WS" + char(10);
    header.resize(8);
    qToLittleEndian<quint32>(quint32(8 + body.size()), header.data() + 4);
    // qCompress puts the length before the zlib stream.
    return header + (signature == 'C' ? qCompress(body).mid(4) : body);
}

class GameFileCheck : public LibraryDatabase {
protected:
    void SetUp() override {
        LibraryDatabase::SetUp();
        EnsureLibraryTables(Database());
    }

    QString Write(const QString& name, const QByteArray& bytes) const {
        const QString path =
            QFileInfo(DatabasePath()).dir().filePath(name + QStringLiteral(".swf"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path;
    }

    TGameFileState Check(const QString& name) const {
        return CheckGameFile(
                   Database(), name,
                   QFileInfo(DatabasePath()).dir().filePath(name + QStringLiteral(".swf")),
                   TClock::Now())
            .State;
    }
};

TEST_F(GameFileCheck, AnOlderGameIsJudgedByItsHeaderAndFingerprintedWhenWhole) {
    QByteArray body;
    for (int i = 0; i < 200000; ++i)
        body.append(char(i * 7 % 251));
    const QByteArray plain = Movie('F', body);
    const QByteArray packed = Movie('C', body);
    Write(QStringLiteral("plain"), plain);
    Write(QStringLiteral("packed"), packed);
    Write(QStringLiteral("plaincut"), plain.left(plain.size() - 1));
    Write(QStringLiteral("packedcut"), packed.left(packed.size() / 2));
    Write(QStringLiteral("notamovie"), "<html>404</html>");

    EXPECT_EQ(Check(QStringLiteral("plain")), TGameFileState::Sound);
    EXPECT_EQ(Check(QStringLiteral("packed")), TGameFileState::Sound);
    EXPECT_EQ(Check(QStringLiteral("plaincut")), TGameFileState::Damaged);
    EXPECT_EQ(Check(QStringLiteral("packedcut")), TGameFileState::Damaged);
    EXPECT_EQ(Check(QStringLiteral("notamovie")), TGameFileState::Damaged);
    EXPECT_EQ(Check(QStringLiteral("gone")), TGameFileState::Missing);

    // Only the whole ones were fingerprinted, by their own letters' case or not.
    const auto known = ReadFingerprint(Database(), QStringLiteral("PACKED"));
    ASSERT_TRUE(known.has_value());
    EXPECT_EQ(known->Size, packed.size());
    EXPECT_EQ(known->Sha256, QCryptographicHash::hash(packed, QCryptographicHash::Sha256).toHex());
    EXPECT_FALSE(ReadFingerprint(Database(), QStringLiteral("packedcut")));

    // From now on the fingerprint rules: a changed byte in a whole-looking movie is found once its
    // time moved, and a change that leaves the header whole but alters the size too.
    QByteArray changed = packed;
    changed[changed.size() - 3] = char(changed[changed.size() - 3] ^ 0x55);
    const QString path = Write(QStringLiteral("packed"), changed);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                 QFileDevice::FileModificationTime));
    file.close();
    EXPECT_EQ(Check(QStringLiteral("packed")), TGameFileState::Damaged);
    Write(QStringLiteral("plain"), plain + "more");
    EXPECT_EQ(Check(QStringLiteral("plain")), TGameFileState::Damaged);

    // Put back as it was, the game is sound again, and a copy with a new time but the same bytes
    // keeps its fingerprint with the new time.
    Write(QStringLiteral("packed"), packed);
    EXPECT_EQ(Check(QStringLiteral("packed")), TGameFileState::Sound);
    EXPECT_EQ(ReadFingerprint(Database(), QStringLiteral("packed"))->Modified,
              QFileInfo(path).lastModified().toMSecsSinceEpoch());
}

} // namespace
