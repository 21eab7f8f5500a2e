#include "library/game_names.h"

#include "library/named_values.h"
#include "library/sql_failure.h"

#include <QList>
#include <utility>

namespace {

constexpr qsizetype kNamesPerTransaction = 500;

constexpr const char* kStoreName =
    "insert or replace into game_names (id, flashname, pinyin, initials) "
    "values (:id, :flashname, :pinyin, :initials)";
constexpr const char* kGamesWithoutName =
    "select id, flashname from flash where id not in (select id from game_names)";
constexpr const char* kReadNames = "select id, pinyin, initials from game_names";

void StoreBatch(QSqlDatabase database, const QList<std::pair<QString, QString>>& games) {
    if (!database.transaction())
        ThrowSqlFailure(database.lastError());
    try {
        for (const auto& [id, name] : games)
            StoreGameName(database, id, name);
    } catch (...) {
        database.rollback();
        throw;
    }
    if (!database.commit())
        ThrowSqlFailure(database.lastError());
}

} // namespace

void StoreGameName(const QSqlDatabase& database, const QString& id, const QString& name) {
    const TPinyin pinyin = PinyinOf(name);
    ExecWithValues(database, QLatin1String(kStoreName),
                   {{QStringLiteral("id"), id},
                    {QStringLiteral("flashname"), name},
                    {QStringLiteral("pinyin"), pinyin.Full},
                    {QStringLiteral("initials"), pinyin.Initials}});
}

int StoreMissingGameNames(const QSqlDatabase& database, const std::function<bool()>& stop) {
    QList<std::pair<QString, QString>> missing;
    for (QSqlQuery query = ExecPlain(database, QLatin1String(kGamesWithoutName)); query.next();)
        missing.append({query.value(0).toString(), query.value(1).toString()});
    int stored = 0;
    for (qsizetype first = 0; first < missing.size() && !stop(); first += kNamesPerTransaction) {
        const auto batch = missing.mid(first, kNamesPerTransaction);
        StoreBatch(database, batch);
        stored += int(batch.size());
    }
    return stored;
}

QHash<QString, TPinyin> ReadGameNames(const QSqlDatabase& database) {
    QHash<QString, TPinyin> names;
    for (QSqlQuery query = ExecPlain(database, QLatin1String(kReadNames)); query.next();)
        names.insert(query.value(0).toString(),
                     {query.value(1).toString(), query.value(2).toString()});
    return names;
}
