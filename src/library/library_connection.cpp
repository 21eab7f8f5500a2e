#include "library/library_connection.h"

#include "common/folder_lookup.h"
#include "common/program_folder.h"
#include "library/sql_failure.h"

#include <QUrl>
#include <atomic>

namespace {

// Download workers insert while the UI thread reads; a writer that finds the file busy waits
// this long for its turn instead of failing.
constexpr int kBusyTimeoutMs = 30000;

QString UniqueConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("pebblo_library_%1").arg(++counter);
}

// Opening through a URI lets "mode=rw" keep SQLite from creating a missing file: a library
// deleted while the client runs must make statements fail, not leave an empty file behind that
// the next start would take for a set-up library.
QString ConnectionUri(const QString& path, TLibraryConnection::TOpenMode mode) {
    const bool create = mode == TLibraryConnection::TOpenMode::CreateFile;
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
           (create ? QStringLiteral("?mode=rwc") : QStringLiteral("?mode=rw"));
}

} // namespace

QString LibraryDatabasePath() {
    return ResolveInFolder(ProgramFolder(), QStringLiteral("config.mqb"));
}

TLibraryConnection::TLibraryConnection(const QString& databasePath, TOpenMode mode)
    : FDatabasePath(databasePath), FConnectionName(UniqueConnectionName()) {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FConnectionName);
    database.setDatabaseName(ConnectionUri(databasePath, mode));
    database.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
}

TLibraryConnection::~TLibraryConnection() {
    QSqlDatabase::database(FConnectionName, false).close();
    QSqlDatabase::removeDatabase(FConnectionName);
}

QSqlDatabase TLibraryConnection::Database() const {
    QSqlDatabase database = QSqlDatabase::database(FConnectionName, false);
    if (!database.isOpen() && !database.open())
        ThrowSqlFailure(database.lastError());
    return database;
}
