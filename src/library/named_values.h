#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

struct TNamedValue {
    QString Name;
    QVariant Value;
};
using TNamedValues = QList<TNamedValue>;

// Runs Statement with each ":name" placeholder given the value whose name matches without
// regard to letter case (the insert spells ":picname", its callers "picName"); SQLite itself
// matches placeholder names exactly. A placeholder without a value fails. Date-times are stored
// as local "yyyy-MM-dd HH:mm:ss.zzz" text, which sorts and compares with "yyyy-MM-dd" as dates do.
QSqlQuery ExecWithValues(const QSqlDatabase& database, const QString& statement,
                         const TNamedValues& values);

// Runs a statement that has no placeholders; a ":" inside a spliced id stays text.
QSqlQuery ExecPlain(const QSqlDatabase& database, const QString& statement);
