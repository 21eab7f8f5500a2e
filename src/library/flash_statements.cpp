#include "library/flash_statements.h"

#include "common/date_time.h"
#include "library/sql_failure.h"
#include "library/statements.h"

namespace {

constexpr const char* kListRecentlyPlayed =
    "select flash.* from flash join play_history on play_history.id = flash.id "
    "order by play_history.last_played desc";

QList<QSqlRecord> RowsOf(QSqlQuery query) {
    QList<QSqlRecord> rows;
    while (query.next())
        rows.append(query.record());
    if (query.lastError().isValid())
        ThrowSqlFailure(query.lastError());
    return rows;
}

} // namespace

int InsertGame(const QSqlDatabase& database, const TNamedValues& values) {
    return ExecWithValues(database, QLatin1String(Statements::InsertGame), values)
        .numRowsAffected();
}

QList<QSqlRecord> ListAllGames(const QSqlDatabase& database) {
    return RowsOf(OpenGameList(database, TLibraryPage::All));
}

QList<QSqlRecord> ListFavouriteGames(const QSqlDatabase& database) {
    return RowsOf(OpenGameList(database, TLibraryPage::Favourites));
}

QList<QSqlRecord> ListGamesOfThisWeek(const QSqlDatabase& database) {
    return RowsOf(OpenGameList(database, TLibraryPage::ThisWeek));
}

QSqlQuery OpenGameList(const QSqlDatabase& database, TLibraryPage page) {
    switch (page) {
    case TLibraryPage::All:
        return ExecPlain(database, QLatin1String(Statements::ListAll));
    case TLibraryPage::Favourites:
        return ExecPlain(database, QLatin1String(Statements::ListFavourites));
    case TLibraryPage::ThisWeek:
        return ExecWithValues(database, QLatin1String(Statements::ListSince),
                              {{QStringLiteral("fDate"), WeekStartText(TClock::Now())}});
    case TLibraryPage::RecentlyPlayed:
        break;
    }
    return ExecPlain(database, QLatin1String(kListRecentlyPlayed));
}

QList<QSqlRecord> SelectGameById(const QSqlDatabase& database, const QString& id) {
    return RowsOf(ExecPlain(database, SpliceId(QLatin1String(Statements::SelectByIdPrefix), id)));
}

int MarkFavourite(const QSqlDatabase& database, const QString& id) {
    return ExecPlain(database, SpliceId(QLatin1String(Statements::MarkFavouritePrefix), id))
        .numRowsAffected();
}

int UnmarkFavourite(const QSqlDatabase& database, const QString& id) {
    return ExecPlain(database, SpliceId(QLatin1String(Statements::UnmarkFavouritePrefix), id))
        .numRowsAffected();
}

QString WeekStartText(const QDateTime& now) {
    return now.date().addDays(-6).toString(QStringLiteral("yyyy-MM-dd"));
}

QString SpliceId(const QString& prefix, const QString& id) {
    QString quoted = id;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return prefix + quoted + QLatin1Char('\'');
}

QString FieldText(const QSqlRecord& row, const QString& name) {
    return row.value(name).toString();
}
