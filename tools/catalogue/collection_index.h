#pragma once

#include "collection_files.h"
#include "game_analysis.h"

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

// A game as the index keeps it, between starts.
struct IndexedGame {
    int64_t id = 0; // stays the game's as long as its file keeps its path
    CollectionFile file;
    std::string signature; // FWS, CWS or ZWS
    int version = 0;
    int stageWidth = 0;
    int stageHeight = 0;
    double frameRate = 0;
    int frameCount = 0;
    bool actionScript3 = false;
    std::string sha256;
    PictureFormat pictureFormat = PictureFormat::Png;
    uint64_t pictureSize = 0;
};

struct ScanReport {
    size_t kept = 0; // unchanged since the last scan
    size_t read = 0; // new or changed, read again
    size_t removed = 0;
    std::vector<std::pair<std::string, std::string>> rejected; // path, why
};

// The scan's results in an SQLite file: what each movie is, its picture and its download count.
// A file whose size and modification time are those recorded is not read again. Safe to use
// from several threads.
class CollectionIndex {
public:
    explicit CollectionIndex(const std::filesystem::path& file);
    ~CollectionIndex();
    CollectionIndex(const CollectionIndex&) = delete;
    CollectionIndex& operator=(const CollectionIndex&) = delete;

    // Called from several threads at once, while files are read.
    using NameOf = std::function<std::string(const CollectionFile&)>;
    // Brings the index up to date with the files under root; rescan reads every file again.
    ScanReport update(const std::filesystem::path& root, const std::vector<CollectionFile>& files,
                      const NameOf& nameOf, bool rescan);

    std::vector<IndexedGame> games() const;
    std::optional<std::string> picture(int64_t id) const;
    void countDownload(int64_t id);
    std::map<int64_t, uint64_t> downloadCounts() const; // by game id

private:
    void execute(const char* sql) const;

    mutable std::mutex mutex_;
    sqlite3* db_ = nullptr;
};
