#include "library/sql_failure.h"

#include "common/failure.h"

void ThrowSqlFailure(const QSqlError& error) {
    const QString engineText = error.databaseText();
    throw EFailure(engineText.isEmpty() ? error.text() : engineText);
}
