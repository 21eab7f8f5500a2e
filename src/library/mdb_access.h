#pragma once

#include "library/hash_table.h"
#include "library/library_connection.h"

#include <QString>

// The statement helper of the library set-up: one connection of its own, closed with it.
class TMDBAccess {
public:
    // The library file in the program folder.
    TMDBAccess();
    explicit TMDBAccess(const QString& databasePath);

    int ExecuteSQL(const QString& sql);
    // The Index-th parameter of Sql receives Parameters.ValueAt(Index), for each index below
    // Parameters.Count(). Returns the number of rows the statement changed.
    int ExecuteSQL(const QString& sql, const THashTable& parameters);

private:
    TLibraryConnection FConnection;
};
