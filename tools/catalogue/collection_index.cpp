#include "collection_index.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <sqlite3.h>
#include <stdexcept>
#include <thread>
#include <variant>

namespace {

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS games(
    id INTEGER PRIMARY KEY,
    path TEXT NOT NULL UNIQUE,
    size INTEGER NOT NULL,
    modified INTEGER NOT NULL,
    signature TEXT NOT NULL,
    version INTEGER NOT NULL,
    stage_width INTEGER NOT NULL,
    stage_height INTEGER NOT NULL,
    frame_rate REAL NOT NULL,
    frame_count INTEGER NOT NULL,
    actionscript3 INTEGER NOT NULL,
    sha256 TEXT NOT NULL,
    picture_format INTEGER NOT NULL,
    picture BLOB NOT NULL,
    downloads INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS rejected(
    path TEXT PRIMARY KEY,
    size INTEGER NOT NULL,
    modified INTEGER NOT NULL,
    reason TEXT NOT NULL);
)";

// One prepared statement, finalized however its scope ends.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("index: ") + sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, int64_t value) {
        sqlite3_bind_int64(statement_, index, value);
        return *this;
    }
    Statement& bind(int index, double value) {
        sqlite3_bind_double(statement_, index, value);
        return *this;
    }
    Statement& bind(int index, const std::string& text) {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bindBlob(int index, const std::string& bytes) {
        sqlite3_bind_blob(statement_, index, bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    // True while rows come; throws on failure.
    bool step() {
        const int result = sqlite3_step(statement_);
        if (result != SQLITE_ROW && result != SQLITE_DONE)
            throw std::runtime_error(std::string("index: ") + sqlite3_errmsg(db_));
        return result == SQLITE_ROW;
    }
    void run() {
        step();
        sqlite3_reset(statement_);
    }
    int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
    double real(int column) const { return sqlite3_column_double(statement_, column); }
    std::string text(int column) const {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, column));
        return bytes ? std::string(bytes, size_t(sqlite3_column_bytes(statement_, column)))
                     : std::string();
    }

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

const char* signatureText(swf::Signature signature) {
    switch (signature) {
    case swf::Signature::Plain:
        return "FWS";
    case swf::Signature::Zlib:
        return "CWS";
    case swf::Signature::Lzma:
        return "ZWS";
    }
    return "";
}

struct Recorded {
    uint64_t size = 0;
    int64_t modified = 0;
    std::string reason;
};

std::map<std::string, Recorded> recorded(sqlite3* db, const char* sql) {
    std::map<std::string, Recorded> files;
    Statement query(db, sql);
    while (query.step())
        files[query.text(0)] = {uint64_t(query.integer(1)), query.integer(2), query.text(3)};
    return files;
}

// Files are read in batches, each spread over the processor's cores; a batch's results wait
// in memory only until they are written.
constexpr size_t kBatch = 64;

using Outcome = std::variant<GameFacts, std::string>; // the facts, or why the file is left out

std::vector<Outcome> analyseAll(const std::filesystem::path& root,
                                const std::vector<const CollectionFile*>& files,
                                const CollectionIndex::NameOf& nameOf) {
    std::vector<Outcome> outcomes(files.size());
    std::atomic<size_t> next = 0;
    auto work = [&] {
        for (size_t i = next++; i < files.size(); i = next++) {
            try {
                outcomes[i] = analyseGame(root / files[i]->path, nameOf(*files[i]));
            } catch (const std::exception& error) {
                outcomes[i] = std::string(error.what());
            }
        }
    };
    std::vector<std::thread> workers;
    for (unsigned n = std::max(1u, std::thread::hardware_concurrency()); n > 1; --n)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();
    return outcomes;
}

} // namespace

CollectionIndex::CollectionIndex(const std::filesystem::path& file) {
    if (sqlite3_open(file.c_str(), &db_) != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw std::runtime_error("cannot open the index " + file.string() + ": " + why);
    }
    execute("PRAGMA journal_mode=WAL");
    execute(kSchema);
}

CollectionIndex::~CollectionIndex() {
    sqlite3_close(db_);
}

void CollectionIndex::execute(const char* sql) const {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string why = error ? error : "unknown failure";
        sqlite3_free(error);
        throw std::runtime_error("index: " + why);
    }
}

ScanReport CollectionIndex::update(const std::filesystem::path& root,
                                   const std::vector<CollectionFile>& files, const NameOf& nameOf,
                                   bool rescan) {
    std::lock_guard lock(mutex_);
    ScanReport report;
    auto games = recorded(db_, "SELECT path, size, modified, '' FROM games");
    auto rejected = recorded(db_, "SELECT path, size, modified, reason FROM rejected");
    execute("BEGIN");
    Statement storeGame(db_, R"(INSERT INTO games(path, size, modified, signature, version,
        stage_width, stage_height, frame_rate, frame_count, actionscript3, sha256,
        picture_format, picture) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)
        ON CONFLICT(path) DO UPDATE SET size=?2, modified=?3, signature=?4, version=?5,
        stage_width=?6, stage_height=?7, frame_rate=?8, frame_count=?9, actionscript3=?10,
        sha256=?11, picture_format=?12, picture=?13)");
    Statement storeRejection(db_, "INSERT OR REPLACE INTO rejected VALUES(?1, ?2, ?3, ?4)");
    Statement forgetGame(db_, "DELETE FROM games WHERE path = ?1");
    Statement forgetRejection(db_, "DELETE FROM rejected WHERE path = ?1");
    auto unchanged = [&](const std::map<std::string, Recorded>& known, const CollectionFile& f) {
        const auto it = known.find(f.path);
        return !rescan && it != known.end() && it->second.size == f.size &&
               it->second.modified == f.modified;
    };
    std::vector<const CollectionFile*> toRead;
    for (const CollectionFile& file : files) {
        if (unchanged(rejected, file))
            report.rejected.emplace_back(file.path, rejected[file.path].reason);
        else if (unchanged(games, file))
            ++report.kept;
        else
            toRead.push_back(&file);
        games.erase(file.path);
        rejected.erase(file.path);
    }
    report.read = toRead.size();
    for (size_t start = 0; start < toRead.size(); start += kBatch) {
        const std::vector<const CollectionFile*> batch(
            toRead.begin() + long(start),
            toRead.begin() + long(std::min(start + kBatch, toRead.size())));
        const std::vector<Outcome> outcomes = analyseAll(root, batch, nameOf);
        for (size_t i = 0; i < batch.size(); ++i) {
            const CollectionFile& file = *batch[i];
            if (const GameFacts* facts = std::get_if<GameFacts>(&outcomes[i])) {
                storeGame.bind(1, file.path)
                    .bind(2, int64_t(file.size))
                    .bind(3, file.modified)
                    .bind(4, std::string(signatureText(facts->summary.signature)))
                    .bind(5, int64_t{facts->summary.version})
                    .bind(6, int64_t{facts->summary.stageWidth})
                    .bind(7, int64_t{facts->summary.stageHeight})
                    .bind(8, facts->summary.frameRate)
                    .bind(9, int64_t{facts->summary.frameCount})
                    .bind(10, int64_t{facts->summary.actionScript3})
                    .bind(11, facts->sha256)
                    .bind(12, int64_t(facts->picture.format))
                    .bindBlob(13, facts->picture.bytes)
                    .run();
                forgetRejection.bind(1, file.path).run();
            } else {
                const std::string& why = std::get<std::string>(outcomes[i]);
                storeRejection.bind(1, file.path)
                    .bind(2, int64_t(file.size))
                    .bind(3, file.modified)
                    .bind(4, why)
                    .run();
                forgetGame.bind(1, file.path).run();
                report.rejected.emplace_back(file.path, why);
            }
        }
    }
    std::sort(report.rejected.begin(), report.rejected.end());
    // What is left was not found this time.
    for (const auto& [path, _] : games) {
        forgetGame.bind(1, path).run();
        ++report.removed;
    }
    for (const auto& [path, _] : rejected)
        forgetRejection.bind(1, path).run();
    execute("COMMIT");
    return report;
}

std::vector<IndexedGame> CollectionIndex::games() const {
    std::lock_guard lock(mutex_);
    std::vector<IndexedGame> games;
    Statement query(db_, R"(SELECT id, path, size, modified, signature, version, stage_width,
        stage_height, frame_rate, frame_count, actionscript3, sha256, picture_format,
        length(picture) FROM games ORDER BY path)");
    while (query.step()) {
        IndexedGame game;
        game.id = query.integer(0);
        game.file.path = query.text(1);
        game.file.category = categoryOf(game.file.path);
        game.file.size = uint64_t(query.integer(2));
        game.file.modified = query.integer(3);
        game.signature = query.text(4);
        game.version = int(query.integer(5));
        game.stageWidth = int(query.integer(6));
        game.stageHeight = int(query.integer(7));
        game.frameRate = query.real(8);
        game.frameCount = int(query.integer(9));
        game.actionScript3 = query.integer(10) != 0;
        game.sha256 = query.text(11);
        game.pictureFormat = static_cast<PictureFormat>(query.integer(12));
        game.pictureSize = uint64_t(query.integer(13));
        games.push_back(std::move(game));
    }
    return games;
}

std::optional<std::string> CollectionIndex::picture(int64_t id) const {
    std::lock_guard lock(mutex_);
    Statement query(db_, "SELECT picture FROM games WHERE id = ?1");
    query.bind(1, id);
    if (!query.step())
        return std::nullopt;
    return query.text(0);
}

void CollectionIndex::countDownload(int64_t id) {
    std::lock_guard lock(mutex_);
    Statement(db_, "UPDATE games SET downloads = downloads + 1 WHERE id = ?1").bind(1, id).run();
}

std::map<int64_t, uint64_t> CollectionIndex::downloadCounts() const {
    std::lock_guard lock(mutex_);
    std::map<int64_t, uint64_t> counts;
    Statement query(db_, "SELECT id, downloads FROM games WHERE downloads > 0");
    while (query.step())
        counts[query.integer(0)] = uint64_t(query.integer(1));
    return counts;
}
