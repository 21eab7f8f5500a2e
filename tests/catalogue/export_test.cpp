// A collection exported twice into the same folder, as a daily job would: the second export
// copies no unchanged game again, drops the files of a game that left the collection, and leaves
// every other file alone, wherever the list of its files points; an export among the games is
// refused.
#include "catalogue_export.h"
#include "catalogue_fixture.h"
#include "collection_catalogue.h"
#include "swf_games.h"

#include <set>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::set<std::string> lines(const std::string& text) {
    std::set<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.insert(line);
    return result;
}

int64_t modifiedSeconds(const fs::path& file) {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::file_clock::to_sys(fs::last_write_time(file)).time_since_epoch())
        .count();
}

TEST(CatalogueExport, AnExportAgainKeepsUnchangedGamesAndRemovesOnlyItsOwnOldFiles) {
    const fs::path root = fs::temp_directory_path() / ("pebblo-export-" + std::to_string(getpid()));
    fs::remove_all(root);
    const fs::path games = root / "games";
    const fs::path site = root / "site";
    const fs::path flbox = PEBBLO_SOURCE_DIR "/tests/data/games/flbox.swf";
    writeFile(games / "物理" / "flbox.swf", readFile(flbox));
    writeFile(games / "街机" / "balloonatroid.swf",
              readFile(PEBBLO_SOURCE_DIR "/tests/data/games/balloonatroid.swf"));
    writeFile(games / "风车.swf", bytesOf(swf::makeGame(swf::GameKind::Windmill)));
    writeFile(site / "robots.txt", "the owner's own");
    writeFile(root / "outside.txt", "not the export's");
    const auto exportGames = [&](const fs::path& into) {
        Collection collection = openCollection(games, {}, false);
        CatalogueSite catalogue(std::move(collection.catalogue), {}, std::move(collection.index));
        return exportCatalogue(catalogue, {into, "127.0.0.1:8080", {}, games});
    };

    const ExportReport first = exportGames(site);
    EXPECT_EQ(first.unchanged, 0u);
    const std::set<std::string> before = lines(readFile(site / "_site/files.txt"));
    EXPECT_EQ(before.size(), first.written);
    EXPECT_TRUE(openCollection(games, {}, false).index->downloadCounts().empty())
        << "an export is no download";

    fs::remove(games / "风车.swf");
    std::ofstream(site / "_site/files.txt", std::ios::app) << "../outside.txt\nrobots.txt/..\n";
    const ExportReport second = exportGames(site);
    EXPECT_EQ(second.unchanged, 2u) << "the real games, still there as they were";
    const std::set<std::string> after = lines(readFile(site / "_site/files.txt"));
    std::vector<std::string> gone;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::back_inserter(gone));
    EXPECT_EQ(gone.size(), 4u)
        << "the windmill's movie, picture and record, and its category's page";
    EXPECT_EQ(second.removed, gone.size());
    for (const std::string& file : gone)
        EXPECT_FALSE(fs::exists(site / file)) << file;
    for (const std::string& file : after)
        EXPECT_TRUE(fs::is_regular_file(site / file)) << file;
    EXPECT_EQ(readFile(site / "robots.txt"), "the owner's own");
    EXPECT_EQ(readFile(root / "outside.txt"), "not the export's");
    for (const auto& entry : fs::recursive_directory_iterator(site))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
            << entry.path() << " left behind";
    const std::string real = readFile(flbox);
    size_t movies = 0;
    for (const std::string& file : after)
        if (file.ends_with(".swf") && readFile(site / file) == real) {
            ++movies;
            EXPECT_EQ(modifiedSeconds(site / file), modifiedSeconds(games / "物理" / "flbox.swf"))
                << "nginx tells the time the program tells";
        }
    EXPECT_EQ(movies, 1u);

    EXPECT_THROW(exportGames(games / "site"), std::runtime_error);
    EXPECT_FALSE(fs::exists(games / "site"));
    fs::remove_all(root);
}

} // namespace
