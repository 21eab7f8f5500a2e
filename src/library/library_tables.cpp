#include "library/library_tables.h"

#include "common/failure.h"
#include "library/named_values.h"

namespace {

constexpr const char* kCreateGameNames =
    "create table if not exists game_names (id text primary key, flashname text, "
    "pinyin text not null, initials text not null)";
constexpr const char* kCreatePlayHistory =
    "create table if not exists play_history (id text primary key, "
    "play_count integer not null default 0, last_played text, "
    "seconds_played integer not null default 0)";
constexpr const char* kCreateGameFiles =
    "create table if not exists game_files (flashname text primary key collate nocase, "
    "size integer not null, sha256 text not null, modified integer not null, checked text)";
constexpr const char* kCreateStoredOrderIndex =
    "create index if not exists index2_flash on flash (fDate)";

} // namespace

void EnsureLibraryTables(const QSqlDatabase& database) {
    ExecPlain(database, QLatin1String(kCreateGameNames));
    ExecPlain(database, QLatin1String(kCreatePlayHistory));
    ExecPlain(database, QLatin1String(kCreateGameFiles));
    // A file without the table flash is never repaired: its lists report the missing table.
    try {
        ExecPlain(database, QLatin1String(kCreateStoredOrderIndex));
    } catch (const EFailure&) {
    }
}
