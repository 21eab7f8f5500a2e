#include "library/library_reader.h"

#include "common/common_method.h"
#include "common/failure.h"
#include "library/game_names.h"
#include "library/library_connection.h"
#include "library/library_tables.h"
#include "library/play_history.h"
#include "library/sql_failure.h"

#include <QCollator>
#include <QSqlRecord>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// The first batch fills a screen at once; later ones are large enough that the UI thread
// handles a few dozen of them for 100,000 games.
constexpr qsizetype kFirstBatchRows = 64;
constexpr qsizetype kBatchRows = 4096;

struct TFields {
    int Id;
    int Name;
    int PictureName;
    int StoredAt;
};

TFields FieldsOf(const QSqlRecord& record) {
    return {record.indexOf(QStringLiteral("id")), record.indexOf(QStringLiteral("flashname")),
            record.indexOf(QStringLiteral("picName")), record.indexOf(QStringLiteral("fDate"))};
}

std::optional<TLibraryGame> GameOf(const QSqlQuery& query, const TFields& fields,
                                   TLibraryPictures& pictures) {
    const TPictureRef picture = pictures.Find(query.value(fields.PictureName).toString());
    if (picture.IsNull())
        return std::nullopt;
    return TLibraryGame{query.value(fields.Id).toString(),
                        TrimBlanks(query.value(fields.Name).toString()),
                        picture.Path.mid(pictures.Folder().size() + 1),
                        picture.Size,
                        picture.ModifiedNs,
                        PackedTimeOf(query.value(fields.StoredAt).toString())};
}

// The history and the names are conveniences: a library that cannot give them still lists.
template <typename Read> auto ReadOrNothing(Read&& read) -> decltype(read()) {
    try {
        return read();
    } catch (const EFailure&) {
        return {};
    }
}

void RankNames(const QStringList& names, QList<TGameDetails>& details) {
    const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(names.size()));
    for (const QString& name : names)
        keys.push_back(collator.sortKey(name));
    std::vector<int> order(size_t(names.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) {
        return keys[size_t(a)].compare(keys[size_t(b)]) < 0;
    });
    for (size_t rank = 0; rank < order.size(); ++rank)
        details[order[rank]].NameRank = int(rank);
}

// A pass over 100,000 games leaves some 20 MB of freed scratch (names by id, collation keys,
// the engine's row values) in this thread's heap, which glibc keeps resident for good; its
// pages go back between passes, when nothing waits for them.
void GiveBackScratch() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace

TLibraryReader::TLibraryReader(QString databasePath, QString programFolder, QObject* parent)
    : QObject(parent), FDatabasePath(std::move(databasePath)),
      FProgramFolder(std::move(programFolder)), FThread([this] { Run(); }) {}

TLibraryReader::~TLibraryReader() {
    {
        const std::lock_guard lock(FLock);
        FStopping = true;
    }
    FWake.notify_all();
    FThread.join();
}

void TLibraryReader::Read(TLibraryPage page) {
    {
        const std::lock_guard lock(FLock);
        FJob = TJob{++FSerial, page};
    }
    FWake.notify_all();
}

bool TLibraryReader::Abandoned(int serial) const {
    return FStopping || FSerial != serial;
}

template <typename Deliver> void TLibraryReader::Post(int serial, Deliver&& deliver) {
    QMetaObject::invokeMethod(
        this,
        [this, serial, deliver = std::forward<Deliver>(deliver)]() mutable {
            if (FSerial == serial)
                deliver();
        },
        Qt::QueuedConnection);
}

// The connection is made, used and closed on this thread only, as Qt requires.
void TLibraryReader::Run() {
    std::optional<TLibraryConnection> connection;
    for (;;) {
        TJob job;
        {
            std::unique_lock lock(FLock);
            FWake.wait(lock, [this] { return FStopping || FJob.has_value(); });
            if (FStopping)
                return;
            job = *FJob;
            FJob.reset();
        }
        if (!connection)
            connection.emplace(FDatabasePath);
        try {
            ReadList(connection->Database(), job);
        } catch (const EFailure& failure) {
            Post(job.Serial, [this, message = failure.Message()] { emit ReadFailed(message); });
        }
        GiveBackScratch();
    }
}

void TLibraryReader::ReadList(const QSqlDatabase& database, const TJob& job) {
    // The tables of a library older than them are made at its first use.
    try {
        EnsureLibraryTables(database);
    } catch (const EFailure&) {
    }
    TLibraryPictures pictures(FProgramFolder);
    TRowBatch batch{true, pictures.Folder(), {}};
    // What the details need of the rows sent, and no more: the rows themselves are the model's.
    TListed listed;
    QSqlQuery query = OpenGameList(database, job.Page);
    const TFields fields = FieldsOf(query.record());
    while (query.next()) {
        if (Abandoned(job.Serial))
            return;
        if (const std::optional<TLibraryGame> game = GameOf(query, fields, pictures)) {
            listed.Ids.append(game->Id);
            listed.Names.append(game->Name);
            batch.Rows.append(*game);
        }
        if (batch.Rows.size() >= (batch.First ? kFirstBatchRows : kBatchRows))
            Post(job.Serial, [this, sent = std::exchange(batch, {})] { emit RowsRead(sent); });
    }
    if (query.lastError().isValid())
        ThrowSqlFailure(query.lastError());
    query.finish();
    if (batch.First || !batch.Rows.isEmpty())
        Post(job.Serial, [this, batch] { emit RowsRead(batch); });
    if (Abandoned(job.Serial))
        return;
    Post(job.Serial,
         [this, end = TListEnd{pictures.Placeholders(), DetailsOf(database, listed, job.Serial)}] {
             emit ListRead(end);
         });
}

QList<TGameDetails> TLibraryReader::DetailsOf(const QSqlDatabase& database, const TListed& listed,
                                              int serial) const {
    QHash<QString, TPinyin> names = ReadOrNothing([&] { return ReadGameNames(database); });
    const bool unspelled = std::any_of(listed.Ids.begin(), listed.Ids.end(),
                                       [&names](const QString& id) { return !names.contains(id); });
    if (unspelled) {
        names = ReadOrNothing([&] {
            StoreMissingGameNames(database, [this, serial] { return Abandoned(serial); });
            return ReadGameNames(database);
        });
    }
    const QHash<QString, TPlayRecord> history =
        ReadOrNothing([&] { return ReadPlayHistory(database); });
    QList<TGameDetails> details;
    details.reserve(listed.Ids.size());
    for (qsizetype row = 0; row < listed.Ids.size(); ++row) {
        const auto name = names.constFind(listed.Ids[row]);
        const TPlayRecord played = history.value(listed.Ids[row]);
        details.append({name != names.cend() ? *name : PinyinOf(listed.Names[row]), played.Count,
                        PackedTimeOf(played.LastPlayed), played.Seconds, 0});
    }
    RankNames(listed.Names, details);
    return details;
}
