#pragma once

// Every statement the client issues against the game library, by number. Statements 7 to 9
// end with an id spliced in by SpliceId (flash_statements.h).
namespace Statements {

inline constexpr char CreateTable[] =
    " create table flash  (  id         VARCHAR(10)   ,     flashname  VARCHAR(50)   ,     "
    "flashurl   memo       ,     nclass     VARCHAR(10)   ,     classid    VARCHAR(10)   ,     "
    "classname  VARCHAR(50)   ,     picUrl     memo       ,     picName    memo       ,     "
    "flashsize  VARCHAR(50)   ,     fDate      date       ,     body       memo       ,     "
    "isGood     CHAR(1)    ) ";
inline constexpr char CreateIndex[] = "Create Unique Index index1_flash ON flash (id);";
inline constexpr char InsertGame[] =
    "insert into flash(id, flashname, flashurl, nclass, classid, classname, picUrl,picName, "
    "body, fDate) values(:id, :flashname, :flashurl, :nclass, :classid, :classname, "
    ":picUrl,:picname, :body, :fDate)";
inline constexpr char ListAll[] = "select * from flash order by fDate";
inline constexpr char ListFavourites[] = "select * from flash where isGood = 'Y' order by fDate";
inline constexpr char ListSince[] = "select * from flash where fDate >= :fDate  order by fDate";
inline constexpr char SelectByIdPrefix[] = "select * from flash where id = '";
inline constexpr char MarkFavouritePrefix[] = "update flash  set isGood = 'Y' where id = '";
inline constexpr char UnmarkFavouritePrefix[] = "update flash  set isGood = 'N' where id = '";

} // namespace Statements
