#include "library/named_values.h"

#include "common/failure.h"
#include "library/sql_failure.h"

#include <QDateTime>

namespace {

struct TPositionalStatement {
    QString Text;
    QVariantList Values;
};

bool IsNameStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool IsNamePart(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

QVariant ValueNamed(const TNamedValues& values, const QString& name) {
    for (const TNamedValue& value : values) {
        if (value.Name.compare(name, Qt::CaseInsensitive) == 0)
            return value.Value;
    }
    throw EFailure(QStringLiteral("No value given for the parameter :%1").arg(name));
}

QVariant EngineValue(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    // Qt binds a null QString as NULL; an empty text is stored as the empty text it is.
    if (value.metaType().id() == QMetaType::QString && value.toString().isNull())
        return QString(QLatin1String(""));
    return value;
}

// Turns each ":name" outside quotes into "?" and lines up the values in placeholder order.
TPositionalStatement Positional(const QString& statement, const TNamedValues& values) {
    TPositionalStatement result;
    QChar openQuote;
    for (qsizetype at = 0; at < statement.size(); ++at) {
        const QChar c = statement.at(at);
        if (!openQuote.isNull()) {
            if (c == openQuote)
                openQuote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            openQuote = c;
        } else if (c == QLatin1Char(':') && at + 1 < statement.size() &&
                   IsNameStart(statement.at(at + 1))) {
            qsizetype end = at + 1;
            while (end < statement.size() && IsNamePart(statement.at(end)))
                ++end;
            result.Values.append(
                EngineValue(ValueNamed(values, statement.mid(at + 1, end - at - 1))));
            result.Text.append(QLatin1Char('?'));
            at = end - 1;
            continue;
        }
        result.Text.append(c);
    }
    return result;
}

} // namespace

QSqlQuery ExecWithValues(const QSqlDatabase& database, const QString& statement,
                         const TNamedValues& values) {
    const TPositionalStatement positional = Positional(statement, values);
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(positional.Text))
        ThrowSqlFailure(query.lastError());
    for (const QVariant& value : positional.Values)
        query.addBindValue(value);
    if (!query.exec())
        ThrowSqlFailure(query.lastError());
    return query;
}

QSqlQuery ExecPlain(const QSqlDatabase& database, const QString& statement) {
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(statement))
        ThrowSqlFailure(query.lastError());
    return query;
}
