#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Helpers shared by the shell, the library and the catalogue code. The database set-up
// operations are implemented by the library subsystem (library/database_setup.cpp).
class TCommonMethod {
public:
    // Pieces before each occurrence of Delimiter, then the rest; adjacent delimiters give empty
    // pieces. A text holding only blanks and control characters gives an empty list.
    static QList<QByteArray> SplitString(const QByteArray& text, const QByteArray& delimiter);

    static bool CreateDatabase(QString& errorText);
    static bool CreateDatabaseFile(const QString& path, QString& errorText);
};

// Only the letters a to z made capitals; every other character stays as it is.
QString UpperCaseAscii(const QString& text);

// Blanks and control characters (everything up to and including the space) at both ends.
QString TrimBlanks(const QString& text);
QByteArray TrimBlanks(const QByteArray& text);
