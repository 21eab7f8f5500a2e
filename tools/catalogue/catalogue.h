#pragma once

#include "image_encoders.h"
#include "swf_games.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How the game's one-line record is written; anything but Normal is there for tests.
enum class RecordShape {
    Normal,
    Empty,      // no bytes at all
    Blank,      // only blanks and a line break
    FourFields, // the picture field is missing
    BadCode,    // the SWF address coded with a ';' after each code, which does not decode
    WideCodes,  // every code raised by 256; only the low 8 bits count
};

struct Game {
    std::string id;
    std::string name;        // UTF-8; GBK on the wire
    std::string description; // UTF-8; GBK on the wire
    int categoryId = 0;
    std::optional<swf::GameKind> kind; // none: the SWF file has zero bytes
    std::string swfPath;               // as the record writes it, query included
    std::string picturePath;           // as the record writes it; its ending matters to clients
    PictureFormat pictureFormat = PictureFormat::Png;
    bool pictureIsHtml = false; // the picture address answers with a web page
    bool swfIsHtml = false;     // so does the game's, as a site's error page saved as a game
    RecordShape record = RecordShape::Normal;
    std::string recordFault; // fault switch applied to the record request itself
    std::string sixthField;  // written as a sixth record field when not empty
    // A game of a collection: its SWF file on disk, that file's size and the index's row.
    std::filesystem::path swfFile;
    uint64_t swfSize = 0;
    int64_t indexId = 0;
    std::string etag;         // of both its SWF file and its picture, which is made from it
    int64_t lastModified = 0; // seconds since 1970
    uint64_t pictureSize = 0;
    // The name spelled in pinyin, for searches typed in Latin letters.
    std::string pinyinFull;
    std::string pinyinInitials;
};

struct Category {
    int id;
    std::string name;
};

// Games of this category exist to make clients fail; they stay out of the showcase pages.
inline constexpr int kTestCategoryId = 9;

struct Catalogue {
    std::vector<Category> categories;
    std::vector<Game> games;
    // The demo's few games page after four, so that tests meet several pages.
    int gamesPerPage = 4;

    const Game* find(std::string_view id) const;
    const Category* category(int id) const;
    std::vector<const Game*> inCategory(int categoryId) const;
    // Pages of the category's game list; an empty category still has its one page.
    int pageCount(int categoryId) const;
    std::vector<const Game*> showcase() const;
    // Keyword as a browser sends it from a GBK page (GBK bytes), or UTF-8: a part of the name,
    // or of its pinyin or pinyin initials when typed in Latin letters ("ppl" finds 泡泡龙).
    std::vector<const Game*> search(std::string_view keyword) const;
};

// The games of the test category fail on purpose (broken records, broken downloads). Tests ask
// for them; a catalogue shown to people carries only games that play.
enum class FaultGames { Excluded, Included };

Catalogue builtInCatalogue(FaultGames faultGames);

// Fills in each game's pinyin spellings.
void spellNames(std::vector<Game>& games);
