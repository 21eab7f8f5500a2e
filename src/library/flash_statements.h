#pragma once

#include "library/named_values.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>

// The statements other parts issue against the table flash, each failing with the engine's
// message. Rows come back in stored order (oldest first); read a field by name, letter case
// ignored, with FieldText.

// Statement 3. Values: id, flashname, flashurl, nclass, classid, classname, picUrl, picName,
// body (texts) and fDate (a QDateTime). Returns the number of rows inserted.
int InsertGame(const QSqlDatabase& database, const TNamedValues& values);

QList<QSqlRecord> ListAllGames(const QSqlDatabase& database);       // statement 4
QList<QSqlRecord> ListFavouriteGames(const QSqlDatabase& database); // statement 5
// Statement 6: games stored on the last seven calendar days, today (TClock::Now()) included.
QList<QSqlRecord> ListGamesOfThisWeek(const QSqlDatabase& database);
// The pages of the local library, each listing the rows of its statement: 4, 5, 6 and, for the
// games played, the flash rows joined with play_history, the last played first.
enum class TLibraryPage { All, Favourites, ThisWeek, RecentlyPlayed };
inline constexpr int kLibraryPages = 4;
// The page's statement run, for reading its rows one at a time (forward only).
QSqlQuery OpenGameList(const QSqlDatabase& database, TLibraryPage page);

// Statement 7: the rows whose id equals Id as text (at most one, the id being unique).
QList<QSqlRecord> SelectGameById(const QSqlDatabase& database, const QString& id);
// Statements 8 and 9; each returns the number of rows changed.
int MarkFavourite(const QSqlDatabase& database, const QString& id);
int UnmarkFavourite(const QSqlDatabase& database, const QString& id);

// The first day of the seven-day window ending on Now's date, as "yyyy-MM-dd".
QString WeekStartText(const QDateTime& now);

// Prefix + Id + "'", with each quote in Id doubled so that the literal stays closed.
QString SpliceId(const QString& prefix, const QString& id);

// A field's value as text; NULL reads as empty text.
QString FieldText(const QSqlRecord& row, const QString& name);
