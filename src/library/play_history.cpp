#include "library/play_history.h"

#include "library/named_values.h"

namespace {

constexpr const char* kRecordPlay =
    "insert into play_history (id, play_count, last_played, seconds_played) "
    "values (:id, 1, :at, 0) on conflict (id) do update "
    "set play_count = play_count + 1, last_played = excluded.last_played";
constexpr const char* kAddPlayTime =
    "update play_history set seconds_played = seconds_played + :seconds where id = :id";
constexpr const char* kReadHistory =
    "select id, play_count, last_played, seconds_played from play_history";

} // namespace

void RecordPlay(const QSqlDatabase& database, const QString& id, const QDateTime& at) {
    ExecWithValues(database, QLatin1String(kRecordPlay),
                   {{QStringLiteral("id"), id}, {QStringLiteral("at"), at}});
}

void AddPlayTime(const QSqlDatabase& database, const QString& id, qint64 seconds) {
    ExecWithValues(database, QLatin1String(kAddPlayTime),
                   {{QStringLiteral("id"), id}, {QStringLiteral("seconds"), seconds}});
}

QHash<QString, TPlayRecord> ReadPlayHistory(const QSqlDatabase& database) {
    QHash<QString, TPlayRecord> history;
    for (QSqlQuery query = ExecPlain(database, QLatin1String(kReadHistory)); query.next();)
        history.insert(
            query.value(0).toString(),
            {query.value(1).toInt(), query.value(2).toString(), query.value(3).toLongLong()});
    return history;
}
