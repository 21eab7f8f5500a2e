#include "library/mdb_access.h"

#include "library/sql_failure.h"

#include <QSqlQuery>

namespace {

constexpr int kDefaultBuckets = 256;

} // namespace

TMDBAccess::TMDBAccess() : TMDBAccess(LibraryDatabasePath()) {}

TMDBAccess::TMDBAccess(const QString& databasePath) : FConnection(databasePath) {}

int TMDBAccess::ExecuteSQL(const QString& sql) {
    return ExecuteSQL(sql, THashTable(kDefaultBuckets));
}

int TMDBAccess::ExecuteSQL(const QString& sql, const THashTable& parameters) {
    QSqlQuery query(FConnection.Database());
    const int count = parameters.Count();
    // Without parameters the text is run as it is, so a ":" inside it is never taken for one.
    if (count == 0) {
        if (!query.exec(sql))
            ThrowSqlFailure(query.lastError());
        return query.numRowsAffected();
    }
    if (!query.prepare(sql))
        ThrowSqlFailure(query.lastError());
    for (int index = 0; index < count; ++index) {
        QVariant value;
        parameters.ValueAt(index, value);
        query.bindValue(index, value);
    }
    if (!query.exec())
        ThrowSqlFailure(query.lastError());
    return query.numRowsAffected();
}
