#include "collection_catalogue.h"

#include "games_csv.h"

#include <chrono>
#include <map>

namespace fs = std::filesystem;

namespace {

constexpr int kGamesPerPage = 20;

// The client cuts records at '|' and refuses file names with slashes or control characters;
// their full-width forms read the same.
std::string recordSafe(std::string text) {
    std::string safe;
    for (char c : text) {
        if (c == '|')
            safe += "｜";
        else if (c == '/')
            safe += "／";
        else if (c == '\\')
            safe += "＼";
        else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f)
            safe += c;
    }
    return safe;
}

std::string description(const IndexedGame& game) {
    return "舞台 " + std::to_string(game.stageWidth) + "×" + std::to_string(game.stageHeight) +
           "，每秒 " + std::to_string(static_cast<int>(game.frameRate + 0.5)) + " 帧，共 " +
           std::to_string(game.frameCount) + " 帧，" +
           (game.actionScript3 ? "ActionScript 3" : "ActionScript 1/2") + "。";
}

int64_t unixSeconds(int64_t fileTimeCount) {
    const fs::file_time_type stamp{fs::file_time_type::duration(fileTimeCount)};
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::file_clock::to_sys(stamp).time_since_epoch())
        .count();
}

Game gameOf(const IndexedGame& indexed, const GameOverride& override, int categoryId,
            const fs::path& root) {
    static constexpr const char* kExtension[] = {".bmp", ".gif", ".jpg", ".png"};
    Game game;
    game.id = std::to_string(indexed.id);
    game.name = recordSafe(override.name.empty() ? fs::path(indexed.file.path).stem().string()
                                                 : override.name);
    game.description =
        recordSafe(override.description.empty() ? description(indexed) : override.description);
    game.categoryId = categoryId;
    game.swfPath = "/gamesoft/flash/g" + game.id + ".swf";
    game.pictureFormat = indexed.pictureFormat;
    game.picturePath =
        "/gamesoft/pic/g" + game.id + kExtension[static_cast<int>(indexed.pictureFormat)];
    game.swfFile = root / indexed.file.path;
    game.swfSize = indexed.file.size;
    game.indexId = indexed.id;
    game.etag = "\"" + indexed.sha256.substr(0, 32) + "\"";
    game.lastModified = unixSeconds(indexed.file.modified);
    game.pictureSize = indexed.pictureSize;
    return game;
}

} // namespace

Collection openCollection(const fs::path& root, fs::path indexFile, bool rescan) {
    if (indexFile.empty())
        indexFile = root / ".pebblo-index.sqlite";
    const auto overrides = readGamesCsv(root / "games.csv");
    auto overrideOf = [&](const std::string& path) {
        const auto it = overrides.find(path);
        return it == overrides.end() ? GameOverride{} : it->second;
    };
    Collection collection;
    collection.catalogue.gamesPerPage = kGamesPerPage;
    collection.index = std::make_shared<CollectionIndex>(indexFile);
    const std::vector<CollectionFile> files = listCollection(root);
    collection.report = collection.index->update(
        root, files,
        [&](const CollectionFile& file) {
            const std::string name = overrideOf(file.path).name;
            return name.empty() ? fs::path(file.path).stem().string() : name;
        },
        rescan);
    std::map<std::string, std::vector<IndexedGame>> byCategory;
    for (IndexedGame& game : collection.index->games()) {
        const std::string category = overrideOf(game.file.path).category;
        byCategory[category.empty() ? game.file.category : category].push_back(std::move(game));
    }
    int categoryId = 0;
    for (const auto& [name, games] : byCategory) {
        collection.catalogue.categories.push_back({++categoryId, recordSafe(name)});
        for (const IndexedGame& game : games)
            collection.catalogue.games.push_back(
                gameOf(game, overrideOf(game.file.path), categoryId, root));
    }
    spellNames(collection.catalogue.games);
    return collection;
}
