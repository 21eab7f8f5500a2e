#include "library/sqlite_table_text.h"

#include <QRegularExpression>

QString SqliteTableText(const QString& createTable) {
    static const QRegularExpression widthColumn(
        QStringLiteral(R"((\w+)(\s+)(VARCHAR|CHAR)\((\d+)\))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression memoColumn(QStringLiteral(R"((\w+\s+)(memo)\b)"),
                                               QRegularExpression::CaseInsensitiveOption);
    QString text = createTable;
    text.replace(widthColumn, QStringLiteral(R"(\1\2\3(\4) CHECK(length(\1) <= \4))"));
    text.replace(memoColumn, QStringLiteral(R"(\1\2 text)"));
    return text;
}
