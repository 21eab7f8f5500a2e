#include "catalogue_fixture.h"
#include "gbk.h"
#include "html_pages.h"
#include "swf_reader.h"

#include <chrono>
#include <map>
#include <optional>

namespace {

// The client's reading of a record: fields cut at '|', nothing trimmed.
std::vector<std::string> fields(const std::string& record) {
    std::vector<std::string> out;
    if (record.find_first_not_of(" \t\r\n") == std::string::npos)
        return out;
    size_t start = 0;
    for (size_t bar; (bar = record.find('|', start)) != std::string::npos; start = bar + 1)
        out.push_back(record.substr(start, bar - start));
    out.push_back(record.substr(start));
    return out;
}

// The client's decoding of field 4: "&#" pieces, each a whole decimal number, low 8 bits kept.
std::optional<std::string> decodeAddress(const std::string& coded) {
    std::string address;
    size_t start = 0;
    while (start <= coded.size()) {
        size_t end = coded.find("&#", start);
        if (end == std::string::npos)
            end = coded.size();
        const std::string piece = coded.substr(start, end - start);
        if (piece.find_first_not_of(" \t\r\n") != std::string::npos) {
            size_t used = 0;
            try {
                const long code = std::stol(piece, &used, 10);
                if (used != piece.size())
                    return std::nullopt;
                address += static_cast<char>(code & 0xff);
            } catch (const std::exception&) {
                return std::nullopt;
            }
        }
        start = end + 2;
    }
    return address;
}

bool pictureMatches(const std::string& bytes, PictureFormat format) {
    static const std::map<PictureFormat, std::string> kMagic = {{PictureFormat::Bmp, "BM"},
                                                                {PictureFormat::Jpeg, "\xFF\xD8"},
                                                                {PictureFormat::Gif, "GI"},
                                                                {PictureFormat::Png, "\x89P"}};
    return bytes.rfind(kMagic.at(format), 0) == 0;
}

class Records : public CatalogueFixture {
protected:
    httplib::Result record(const std::string& id) { return get("/GAMESOFT/GAMEINFO.ASP?ID=" + id); }
};

} // namespace

TEST_F(Records, EveryPlayableGameRecordLeadsToItsSwfAndThumbnail) {
    size_t position = 0;
    for (const Game& game : catalogue().games) {
        if (game.record != RecordShape::Normal || !game.recordFault.empty())
            continue;
        SCOPED_TRACE(game.id);
        // Alternate the capital and mixed-case spellings the pages use.
        const httplib::Result reply = get(pathOf(pages::gameLink(origin(), game, position++)));
        ASSERT_TRUE(reply);
        ASSERT_EQ(reply->status, 200);
        const std::vector<std::string> parts = fields(reply->body);
        ASSERT_EQ(parts.size(), game.sixthField.empty() ? 5u : 6u);
        EXPECT_EQ(parts[0], game.id);
        EXPECT_EQ(decodeGbk(parts[1]), game.name);
        EXPECT_EQ(decodeGbk(parts[2]), game.description);
        const std::optional<std::string> swfAddress = decodeAddress(parts[3]);
        ASSERT_TRUE(swfAddress);
        EXPECT_EQ(*swfAddress, origin() + game.swfPath);
        EXPECT_EQ(parts[4], origin() + game.picturePath);

        const httplib::Result picture = get(pathOf(parts[4]));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->status, 200);
        if (game.pictureIsHtml)
            EXPECT_NE(decodeGbk(picture->body).find("<html>"), std::string::npos);
        else
            EXPECT_TRUE(pictureMatches(picture->body, game.pictureFormat));

        if (game.swfPath.find("fault=") != std::string::npos)
            continue; // those downloads misbehave on purpose; see below
        const httplib::Result movie = get(pathOf(*swfAddress));
        ASSERT_TRUE(movie);
        EXPECT_EQ(movie->status, 200);
        if (game.swfIsHtml)
            EXPECT_NE(decodeGbk(movie->body).find("<html>"), std::string::npos);
        else if (game.kind)
            EXPECT_NO_THROW(readSwf(movie->body));
        else
            EXPECT_TRUE(movie->body.empty());
    }
}

TEST_F(Records, MalformedRecordShapesAreServedAsDescribed) {
    EXPECT_TRUE(record("901")->body.empty());
    EXPECT_TRUE(fields(record("911")->body).empty());
    EXPECT_EQ(fields(record("902")->body).size(), 4u);

    const std::vector<std::string> badCode = fields(record("903")->body);
    ASSERT_EQ(badCode.size(), 5u);
    EXPECT_FALSE(decodeAddress(badCode[3]));

    const std::vector<std::string> wide = fields(record("912")->body);
    ASSERT_EQ(wide.size(), 5u);
    EXPECT_NE(wide[3].find("&#360"), std::string::npos); // 'h' (104) raised by 256
    EXPECT_EQ(decodeAddress(wide[3]), origin() + catalogue().find("912")->swfPath);
}

TEST_F(Records, RecordFaultsAreReachableThroughTheGameLinkItself) {
    EXPECT_EQ(record("904")->status, 404);
    EXPECT_EQ(record("905")->status, 500);
    const httplib::Result moved = record("906");
    EXPECT_EQ(moved->status, 302);
    EXPECT_EQ(moved->get_header_value("Location"), "/GAMESOFT/GAMEINFO.ASP?ID=1001");
    EXPECT_EQ(record("914")->status, 401);
    EXPECT_EQ(record("1001&fault=500")->status, 500); // any game, switched from the link

    const auto start = std::chrono::steady_clock::now();
    const httplib::Result slow = record("907");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(fields(slow->body).size(), 5u);
}

TEST_F(Records, SwfDownloadFaultsOfTheTestGames) {
    auto swfOf = [&](const std::string& id) {
        return get(pathOf(*decodeAddress(fields(record(id)->body)[3])));
    };
    EXPECT_EQ(swfOf("909")->status, 404);
    EXPECT_FALSE(swfOf("910")); // cut short: the client sees a broken transfer
    const httplib::Result empty = swfOf("908");
    EXPECT_EQ(empty->status, 200);
    EXPECT_EQ(empty->get_header_value("Content-Length"), "0");
}

TEST_F(Records, UnknownOrMalformedIdsAreNotFound) {
    for (const char* target : {"/GAMESOFT/GAMEINFO.ASP?ID=999999", "/GAMESOFT/GAMEINFO.ASP?ID=abc",
                               "/GAMESOFT/GAMEINFO.ASP?ID=", "/GAMESOFT/GAMEINFO.ASP",
                               "/GAMESOFT/GAMEINFO.ASP?ID=1001%00"})
        EXPECT_EQ(get(target)->status, 404) << target;
}

TEST_F(Records, QuotedIdAnswersWrittenRawOrEscaped) {
    const std::string raw = record("1011'")->body;
    EXPECT_EQ(fields(raw).at(0), "1011'");
    EXPECT_EQ(record("1011%27")->body, raw);
}

TEST_F(Records, CatalogueHoldsTheNamesThatExerciseAClient) {
    std::map<std::string, int> names;
    bool blanks = false, quoteName = false, lineBreak = false, quoteId = false, upperJpg = false,
         noDotPicture = false, htmlPicture = false, emptySwf = false;
    int overLongIds = 0;
    for (const Game& game : catalogue().games) {
        ++names[game.name];
        blanks |= game.name.front() == ' ' && game.name.back() == ' ';
        quoteName |= game.name.find('\'') != std::string::npos;
        lineBreak |= game.description.find('\n') != std::string::npos;
        quoteId |= game.id.find('\'') != std::string::npos;
        upperJpg |= game.picturePath.ends_with(".JPG");
        noDotPicture |=
            game.picturePath.substr(game.picturePath.rfind('/')).find('.') == std::string::npos;
        htmlPicture |= game.pictureIsHtml;
        emptySwf |= !game.kind;
        overLongIds += game.id.size() > 10;
        EXPECT_LE(utf8ToGbk(game.name).size(), 50u) << game.name;
    }
    EXPECT_TRUE(blanks && quoteName && lineBreak && quoteId && upperJpg && noDotPicture &&
                htmlPicture && emptySwf);
    EXPECT_TRUE(
        std::any_of(names.begin(), names.end(), [](const auto& n) { return n.second > 1; }));
    EXPECT_EQ(overLongIds, 1);
}
