#include "common/common_method.h"
#include "common/failure.h"
#include "library/library_connection.h"
#include "library/mdb_access.h"
#include "library/sql_failure.h"
#include "library/sqlite_table_text.h"
#include "library/statements.h"

#include <QFileInfo>
#include <QSqlQuery>

bool TCommonMethod::CreateDatabase(QString& errorText) {
    errorText.clear();
    const QString path = LibraryDatabasePath();
    // An existing file is used as it is, whatever it holds: it is never repaired or replaced.
    if (QFileInfo::exists(path))
        return true;
    try {
        QString fileError;
        CreateDatabaseFile(path, fileError);
        TMDBAccess access(path);
        access.ExecuteSQL(SqliteTableText(QLatin1String(Statements::CreateTable)));
        access.ExecuteSQL(QLatin1String(Statements::CreateIndex));
        return true;
    } catch (const EFailure& failure) {
        errorText = failure.Message();
        return false;
    }
}

bool TCommonMethod::CreateDatabaseFile(const QString& path, QString& errorText) {
    errorText.clear();
    if (QFileInfo::exists(path)) {
        errorText = QStringLiteral("Database already exists.");
        return false;
    }
    try {
        TLibraryConnection connection(path, TLibraryConnection::TOpenMode::CreateFile);
        // Write-ahead logging lets download workers insert while the UI thread reads; the mode
        // is kept in the file, so it is set once, here, and never on a file we did not make.
        QSqlQuery query(connection.Database());
        if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
            ThrowSqlFailure(query.lastError());
        return true;
    } catch (const EFailure& failure) {
        errorText = failure.Message();
        return false;
    }
}
