#include "common/common_method.h"
#include "library/flash_statements.h"
#include "library/game_names.h"
#include "library/library_tables.h"
#include "library/play_history.h"
#include "library/play_recorder.h"
#include "library_fixture.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace {

class LibraryTables : public LibraryDatabase {
protected:
    void Store(const QString& id, const QString& name) const {
        ASSERT_EQ(InsertGame(Database(), {{"id", id},
                                          {"flashname", name},
                                          {"flashurl", "http://h.example/a.swf"},
                                          {"nclass", ""},
                                          {"classid", ""},
                                          {"classname", ""},
                                          {"picUrl", "p.gif"},
                                          {"picName", "p.gif"},
                                          {"body", "about"},
                                          {"fDate", QDateTime(QDate(2008, 12, 1), QTime(9, 0))}}),
                  1);
    }

    // Every value of every row and the table's own definition, as text.
    QStringList FlashAsText() const {
        QStringList text;
        QSqlQuery query(Database());
        EXPECT_TRUE(query.exec("select sql from sqlite_master where tbl_name = 'flash' and "
                               "type = 'table' union all select 'index1: ' || sql from "
                               "sqlite_master where name = 'index1_flash'"));
        while (query.next())
            text.append(query.value(0).toString());
        query = ExecPlain(Database(), QStringLiteral("select * from flash order by rowid"));
        while (query.next()) {
            for (int i = 0; i < query.record().count(); ++i)
                text.append(query.value(i).toString());
        }
        return text;
    }

    TPlayRecord HistoryOf(const QString& id) const { return ReadPlayHistory(Database())[id]; }
};

TEST_F(LibraryTables, AnOlderLibraryGetsHistoryAndNamesWithItsGamesUntouched) {
    Store(QStringLiteral("1"), QStringLiteral("泡泡龙"));
    Store(QStringLiteral("2"), QStringLiteral(" 超级玛丽3 "));
    const QStringList before = FlashAsText();
    ASSERT_EQ(before.size(), 2 + 2 * 12);
    EXPECT_EQ(FailureOf([&] { ReadPlayHistory(Database()); }),
              QStringLiteral("no such table: play_history"));

    EnsureLibraryTables(Database());
    EnsureLibraryTables(Database());
    EXPECT_TRUE(ReadPlayHistory(Database()).isEmpty());
    EXPECT_EQ(StoreMissingGameNames(Database(), [] { return false; }), 2);
    EXPECT_EQ(StoreMissingGameNames(Database(), [] { return false; }), 0);
    const QHash<QString, TPinyin> names = ReadGameNames(Database());
    EXPECT_EQ(names["1"].Full, QStringLiteral("paopaolong"));
    EXPECT_EQ(names["1"].Initials, QStringLiteral("ppl"));
    EXPECT_EQ(names["2"].Full, QStringLiteral("chaojimali3"));
    EXPECT_EQ(names["2"].Initials, QStringLiteral("cjml3"));

    // Plays count at their start; the time runs while the game plays.
    const QDateTime start(QDate(2008, 12, 17), QTime(20, 0));
    TPlayRecorder plays([this] { return Database(); });
    PinNow(start);
    plays.Started(QStringLiteral("1"));
    PinNow(start.addSecs(90));
    plays.Halted();
    PinNow(start.addSecs(500));
    plays.Resumed();
    PinNow(start.addSecs(530));
    plays.Started(QStringLiteral("2"));
    PinNow(start.addSecs(600));
    plays.Started(QStringLiteral("1"));
    plays.Halted();
    EXPECT_EQ(HistoryOf("1").Count, 2);
    EXPECT_EQ(HistoryOf("1").Seconds, 120);
    EXPECT_EQ(HistoryOf("1").LastPlayed, QStringLiteral("2008-12-17 20:10:00.000"));
    EXPECT_EQ(HistoryOf("2").Count, 1);
    EXPECT_EQ(HistoryOf("2").Seconds, 70);

    QStringList recent;
    for (QSqlQuery query = OpenGameList(Database(), TLibraryPage::RecentlyPlayed); query.next();)
        recent.append(query.value(QStringLiteral("flashname")).toString());
    EXPECT_EQ(recent, QStringList({"泡泡龙", " 超级玛丽3 "}));
    EXPECT_EQ(FlashAsText(), before);
}

TEST_F(LibraryTables, AFileWithoutTheGamesTableIsNotRepaired) {
    ExecPlain(Database(), QStringLiteral("drop table flash"));
    EnsureLibraryTables(Database());
    EXPECT_EQ(FailureOf([&] { ListAllGames(Database()); }), QStringLiteral("no such table: flash"));
}

TEST(Pinyin, SpellsEachChineseCharacterAndKeepsOtherLettersAndDigits) {
    EXPECT_EQ(PinyinOf(QStringLiteral("Q版泡泡堂 II")).Full, QStringLiteral("qbanpaopaotangii"));
    EXPECT_EQ(PinyinOf(QStringLiteral("Q版泡泡堂 II")).Initials, QStringLiteral("qbpptii"));
    EXPECT_EQ(PinyinOf(QStringLiteral("绿色·足球！")).Full, QStringLiteral("lusezuqiu"));
    EXPECT_EQ(PinyinQueryOf(QStringLiteral(" Pao pao LONG ")), QStringLiteral("paopaolong"));
    EXPECT_EQ(PinyinQueryOf(QStringLiteral("xi'an")), QStringLiteral("xian"));
    EXPECT_EQ(PinyinQueryOf(QStringLiteral("泡泡")), QString());
    EXPECT_EQ(PinyinQueryOf(QStringLiteral("a-b")), QString());
}

} // namespace
