#pragma once

#include <QSqlDatabase>
#include <QString>

// "config.mqb" in the program folder, found without regard to letter case.
QString LibraryDatabasePath();

// This thread's own connection to the game library file. Qt allows a connection only on the
// thread that made it, so the UI thread and every download worker each hold one; the worker
// makes its own from the UI connection's DatabasePath().
class TLibraryConnection {
public:
    enum class TOpenMode { ExistingFile, CreateFile };

    explicit TLibraryConnection(const QString& databasePath,
                                TOpenMode mode = TOpenMode::ExistingFile);
    ~TLibraryConnection();
    TLibraryConnection(const TLibraryConnection&) = delete;
    TLibraryConnection& operator=(const TLibraryConnection&) = delete;

    const QString& DatabasePath() const { return FDatabasePath; }

    // The open connection, opened on first use; fails with the engine's message when the file
    // cannot be opened, and tries again at the next use.
    QSqlDatabase Database() const;

private:
    QString FDatabasePath;
    QString FConnectionName;
};
