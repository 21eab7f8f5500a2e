#pragma once

#include <QString>

// The table is created from the very text of statement 1, translated for SQLite by two
// rewrites that leave its columns, their order and their declared types as they are:
// - "VARCHAR(n)" and "CHAR(n)" gain "CHECK(length(column) <= n)": SQLite ignores declared
//   widths, and a value longer than its column must be refused;
// - "memo" becomes the type name "memo text": SQLite gives an unknown type numeric affinity and
//   would turn a description or address such as "007" into the number 7.
QString SqliteTableText(const QString& createTable);
