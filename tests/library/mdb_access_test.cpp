#include "common/common_method.h"
#include "library/flash_statements.h"
#include "library/hash_table.h"
#include "library/mdb_access.h"
#include "library_fixture.h"

namespace {

QVariant ValueAt(const THashTable& table, int index) {
    QVariant value = QStringLiteral("untouched");
    table.ValueAt(index, value);
    return value;
}

TEST(HashTable, HashOfRotatesByTwoBitsAndXorsEachByte) {
    THashTable table(256);
    EXPECT_EQ(table.HashOf(QString()), 0u);
    EXPECT_EQ(table.HashOf(QStringLiteral("a")), 97u);
    EXPECT_EQ(table.HashOf(QStringLiteral("ab")), (97u << 2) ^ 98u);
    // Bits rotated out at the top come back at the bottom: 16 rotations are a full turn.
    EXPECT_EQ(table.HashOf(QStringLiteral("a") + QString(15, QChar(0))), 0x40000018u);
    EXPECT_EQ(table.HashOf(QStringLiteral("a") + QString(16, QChar(0))), 97u);
    // The key's GBK bytes are hashed: 中 is D6 D0.
    EXPECT_EQ(table.HashOf(QStringLiteral("中")), (0xD6u << 2) ^ 0xD0u);
}

TEST(HashTable, CountsNonEmptyBucketsAndReadsTheirNewestItems) {
    THashTable table(256);
    EXPECT_EQ(table.Count(), 0);
    table.Add(QStringLiteral("b"), 2);
    table.Add(QStringLiteral("a"), 1);
    EXPECT_EQ(table.Count(), 2);
    EXPECT_EQ(ValueAt(table, 0), QVariant(1));
    EXPECT_EQ(ValueAt(table, 1), QVariant(2));
    EXPECT_EQ(ValueAt(table, 2), QVariant(QStringLiteral("untouched")));

    THashTable oneBucket(1);
    oneBucket.Add(QStringLiteral("x"), 1);
    oneBucket.Add(QStringLiteral("y"), 2);
    EXPECT_EQ(oneBucket.Count(), 1);
    EXPECT_EQ(ValueAt(oneBucket, 0), QVariant(2));
    oneBucket.Clear();
    EXPECT_EQ(oneBucket.Count(), 0);
    EXPECT_EQ(ValueAt(oneBucket, 0), QVariant(QStringLiteral("untouched")));
}

class MDBAccess : public LibraryFolder {};

TEST_F(MDBAccess, RunsStatementsOnTheProgramFoldersLibrary) {
    QString errorText;
    ASSERT_TRUE(TCommonMethod::CreateDatabase(errorText));
    TMDBAccess access;
    EXPECT_EQ(
        access.ExecuteSQL(QStringLiteral("insert into flash(id, fDate) values('1', '2008-12-11 "
                                         "10:00:00')")),
        1);
    THashTable parameters(256);
    parameters.Add(QStringLiteral("id"), QStringLiteral("1"));
    EXPECT_EQ(access.ExecuteSQL(QStringLiteral("update flash set isGood = 'Y' where id = :id"),
                                parameters),
              1);
    TLibraryConnection connection(DatabasePath());
    EXPECT_EQ(ListFavouriteGames(connection.Database()).size(), 1);
    EXPECT_EQ(FailureOf([&] { access.ExecuteSQL(QStringLiteral("select * from missing")); }),
              QStringLiteral("no such table: missing"));
}

} // namespace
