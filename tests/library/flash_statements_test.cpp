#include "common/common_method.h"
#include "library/flash_statements.h"
#include "library_fixture.h"

#include <QStringList>
#include <thread>

namespace {

class FlashStatements : public LibraryDatabase {
protected:
    static TNamedValues Game(const QString& id, const QDateTime& storedAt,
                             const QString& name = QStringLiteral("name")) {
        return {
            {"id", id},          {"flashname", name},     {"flashurl", "http://h.example/a.swf"},
            {"nclass", ""},      {"classid", ""},         {"classname", ""},
            {"picUrl", "p.gif"}, {"picName", "name.gif"}, {"body", "about"},
            {"fDate", storedAt}};
    }

    void Insert(const QString& id, const QDateTime& storedAt = QDateTime::currentDateTime(),
                const QString& name = QStringLiteral("name")) const {
        ASSERT_EQ(InsertGame(Database(), Game(id, storedAt, name)), 1);
    }

    static QStringList Ids(const QList<QSqlRecord>& rows) {
        QStringList ids;
        for (const QSqlRecord& row : rows)
            ids.append(FieldText(row, QStringLiteral("ID")));
        return ids;
    }

    static QDateTime At(const char* text) {
        return QDateTime::fromString(QLatin1String(text), QStringLiteral("yyyy-MM-dd HH:mm"));
    }

private:
};

TEST_F(FlashStatements, StoresTextExactlyAndMatchesNamesWithoutRegardToCase) {
    TNamedValues values =
        Game(QStringLiteral("0012"), QDateTime::currentDateTime(), QStringLiteral(" 坦克大战 "));
    values[7] = {QStringLiteral("PICNAME"), QStringLiteral("1.50")};
    values[8] = {QStringLiteral("Body"), QStringLiteral("007")};
    ASSERT_EQ(InsertGame(Database(), values), 1);

    const QList<QSqlRecord> rows = SelectGameById(Database(), QStringLiteral("0012"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("flashName")), QStringLiteral(" 坦克大战 "));
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("picname")), QStringLiteral("1.50"));
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("body")), QStringLiteral("007"));
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("flashUrl")),
              QStringLiteral("http://h.example/a.swf"));
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("isGood")), QString());
    EXPECT_TRUE(rows[0].isNull(QStringLiteral("flashsize")));
}

TEST_F(FlashStatements, InsertWithoutAValueFails) {
    TNamedValues values = Game(QStringLiteral("1"), QDateTime::currentDateTime());
    values.removeLast();
    EXPECT_EQ(FailureOf([&] { InsertGame(Database(), values); }),
              QStringLiteral("No value given for the parameter :fDate"));
    EXPECT_TRUE(ListAllGames(Database()).isEmpty());
}

TEST_F(FlashStatements, ASecondRowWithTheSameIdIsRefusedAndTheFirstKept) {
    Insert(QStringLiteral("7"), At("2008-12-01 10:00"), QStringLiteral("first"));
    EXPECT_EQ(FailureOf([&] { Insert(QStringLiteral("7"), At("2008-12-02 10:00"), "second"); }),
              QStringLiteral("UNIQUE constraint failed: flash.id"));
    const QList<QSqlRecord> rows = ListAllGames(Database());
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(FieldText(rows[0], QStringLiteral("flashname")), QStringLiteral("first"));
}

TEST_F(FlashStatements, RefusesValuesLongerThanTheirColumns) {
    const QDateTime now = QDateTime::currentDateTime();
    Insert(QStringLiteral("1234567890"), now, QString(50, QChar(0x6E38)));
    EXPECT_EQ(FailureOf([&] { Insert(QStringLiteral("12345678901"), now); }),
              QStringLiteral("CHECK constraint failed: length(id) <= 10"));
    EXPECT_EQ(FailureOf([&] { Insert(QStringLiteral("2"), now, QString(51, QLatin1Char('n'))); }),
              QStringLiteral("CHECK constraint failed: length(flashname) <= 50"));
    TNamedValues longMemo = Game(QStringLiteral("3"), now);
    longMemo[8].Value = QString(100000, QLatin1Char('b'));
    EXPECT_EQ(InsertGame(Database(), longMemo), 1);
    EXPECT_EQ(Ids(ListAllGames(Database())), QStringList({"1234567890", "3"}));
}

TEST_F(FlashStatements, ListsInStoredOrderAndOnlyYMarksAFavourite) {
    Insert(QStringLiteral("b"), At("2008-12-02 10:00"));
    Insert(QStringLiteral("a"), At("2008-12-01 10:00"));
    Insert(QStringLiteral("c"), At("2008-12-03 10:00"));
    EXPECT_EQ(Ids(ListAllGames(Database())), QStringList({"a", "b", "c"}));
    EXPECT_TRUE(ListFavouriteGames(Database()).isEmpty());

    EXPECT_EQ(MarkFavourite(Database(), QStringLiteral("c")), 1);
    EXPECT_EQ(MarkFavourite(Database(), QStringLiteral("a")), 1);
    EXPECT_EQ(UnmarkFavourite(Database(), QStringLiteral("b")), 1);
    EXPECT_EQ(Ids(ListFavouriteGames(Database())), QStringList({"a", "c"}));

    EXPECT_EQ(UnmarkFavourite(Database(), QStringLiteral("a")), 1);
    EXPECT_EQ(Ids(ListFavouriteGames(Database())), QStringList({"c"}));
    EXPECT_EQ(MarkFavourite(Database(), QStringLiteral("unknown")), 0);
}

TEST_F(FlashStatements, ThisWeekIsTheLastSevenCalendarDaysFromMidnight) {
    EXPECT_EQ(WeekStartText(At("2008-12-17 00:00")), QStringLiteral("2008-12-11"));
    EXPECT_EQ(WeekStartText(At("2008-12-17 23:59")), QStringLiteral("2008-12-11"));
    EXPECT_EQ(WeekStartText(At("2009-01-03 12:00")), QStringLiteral("2008-12-28"));

    Insert(QStringLiteral("old"), At("2008-12-10 23:59"));
    Insert(QStringLiteral("first"), At("2008-12-11 00:00"));
    Insert(QStringLiteral("today"), At("2008-12-17 08:00"));
    PinNow(At("2008-12-17 09:30"));
    EXPECT_EQ(Ids(ListGamesOfThisWeek(Database())), QStringList({"first", "today"}));
    PinNow(At("2008-12-18 00:00"));
    EXPECT_EQ(Ids(ListGamesOfThisWeek(Database())), QStringList({"today"}));
}

TEST_F(FlashStatements, IdsWithQuotesAddressExactlyTheirRow) {
    const QDateTime now = QDateTime::currentDateTime();
    Insert(QStringLiteral("a'b"), now);
    Insert(QStringLiteral("a"), now);
    Insert(QStringLiteral("b"), now);
    Insert(QStringLiteral("x:y"), now);
    EXPECT_EQ(Ids(SelectGameById(Database(), QStringLiteral("a'b"))), QStringList{"a'b"});
    EXPECT_EQ(Ids(SelectGameById(Database(), QStringLiteral("x:y"))), QStringList{"x:y"});
    EXPECT_TRUE(SelectGameById(Database(), QStringLiteral("' or '1'='1")).isEmpty());
    EXPECT_EQ(MarkFavourite(Database(), QStringLiteral("a'b")), 1);
    EXPECT_EQ(MarkFavourite(Database(), QStringLiteral("x' or '1'='1")), 0);
    EXPECT_EQ(Ids(ListFavouriteGames(Database())), QStringList{"a'b"});
}

TEST_F(FlashStatements, IdsCompareAsText) {
    Insert(QStringLiteral("123"));
    EXPECT_EQ(Ids(SelectGameById(Database(), QStringLiteral("123"))), QStringList{"123"});
    EXPECT_TRUE(SelectGameById(Database(), QStringLiteral("0123")).isEmpty());
    EXPECT_TRUE(SelectGameById(Database(), QStringLiteral("123 ")).isEmpty());
}

TEST_F(FlashStatements, WorkersInsertingAtTheSameTimeAllSucceed) {
    constexpr int kRowsPerWorker = 40;
    const QString path = DatabasePath();
    QStringList failures[2];
    auto worker = [&path](int number, QStringList& failed) {
        TLibraryConnection connection(path);
        for (int row = 0; row < kRowsPerWorker; ++row) {
            try {
                InsertGame(connection.Database(), Game(QStringLiteral("%1-%2").arg(number).arg(row),
                                                       QDateTime::currentDateTime()));
            } catch (const EFailure& failure) {
                failed.append(failure.Message());
            }
        }
    };
    std::thread first(worker, 1, std::ref(failures[0]));
    std::thread second(worker, 2, std::ref(failures[1]));
    first.join();
    second.join();
    EXPECT_EQ(failures[0] + failures[1], QStringList());
    EXPECT_EQ(ListAllGames(Database()).size(), 2 * kRowsPerWorker);
}

} // namespace
