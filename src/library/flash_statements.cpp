#include "library/flash_statements.h"

#include "common/date_time.h"
#include "library/sql_failure.h"
#include "library/statements.h"

namespace {

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
    return RowsOf(ExecPlain(database, QLatin1String(Statements::ListAll)));
}

QList<QSqlRecord> ListFavouriteGames(const QSqlDatabase& database) {
    return RowsOf(ExecPlain(database, QLatin1String(Statements::ListFavourites)));
}

QList<QSqlRecord> ListGamesOfThisWeek(const QSqlDatabase& database) {
    const TNamedValues since{{QStringLiteral("fDate"), WeekStartText(TClock::Now())}};
    return RowsOf(ExecWithValues(database, QLatin1String(Statements::ListSince), since));
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
