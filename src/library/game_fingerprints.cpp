#include "library/game_fingerprints.h"

#include "library/named_values.h"

namespace {

constexpr const char* kRecord =
    "insert into game_files (flashname, size, sha256, modified, checked) "
    "values (:name, :size, :sha256, :modified, :checked) on conflict (flashname) do update "
    "set size = excluded.size, sha256 = excluded.sha256, modified = excluded.modified, "
    "checked = excluded.checked";
constexpr const char* kRead =
    "select size, sha256, modified from game_files where flashname = :name";

} // namespace

void RecordFingerprint(const QSqlDatabase& database, const QString& flashName,
                       const TGameFingerprint& fingerprint, const QDateTime& checkedAt) {
    ExecWithValues(database, QLatin1String(kRecord),
                   {{QStringLiteral("name"), flashName},
                    {QStringLiteral("size"), fingerprint.Size},
                    {QStringLiteral("sha256"), QString::fromLatin1(fingerprint.Sha256)},
                    {QStringLiteral("modified"), fingerprint.Modified},
                    {QStringLiteral("checked"), checkedAt}});
}

std::optional<TGameFingerprint> ReadFingerprint(const QSqlDatabase& database,
                                                const QString& flashName) {
    QSqlQuery query =
        ExecWithValues(database, QLatin1String(kRead), {{QStringLiteral("name"), flashName}});
    if (!query.next())
        return std::nullopt;
    return TGameFingerprint{query.value(0).toLongLong(), query.value(1).toString().toLatin1(),
                            query.value(2).toLongLong()};
}
