// A collection folder with a real game of another author, our own movies packed every way, a
// copy cut short and a file that is no movie: scanned, indexed, kept and served over loopback.
#include "catalogue_fixture.h"
#include "collection_catalogue.h"
#include "gbk.h"
#include "swf_games.h"

#include <algorithm>
#include <arpa/inet.h>
#include <fstream>
#include <lzma.h>
#include <netinet/in.h>
#include <set>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#include <zlib.h>

namespace fs = std::filesystem;

namespace {

// The same movie with its body packed by LZMA, as Flash 11 writes them.
std::string lzmaPacked(const std::string& plain) {
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 6);
    lzma_stream stream = LZMA_STREAM_INIT;
    EXPECT_EQ(lzma_alone_encoder(&stream, &options), LZMA_OK);
    std::string packed(plain.size() + 1024, '\0');
    stream.next_in = reinterpret_cast<const uint8_t*>(plain.data()) + 8;
    stream.avail_in = plain.size() - 8;
    stream.next_out = reinterpret_cast<uint8_t*>(packed.data());
    stream.avail_out = packed.size();
    EXPECT_EQ(lzma_code(&stream, LZMA_FINISH), LZMA_STREAM_END);
    packed.resize(stream.total_out);
    lzma_end(&stream);
    // .lzma: properties (5), unpacked size (8), data; ZWS: header, packed size, properties, data.
    const auto packedSize = static_cast<uint32_t>(packed.size() - 13);
    std::string movie = "ZWS" + plain.substr(3, 5);
    for (int i = 0; i < 4; ++i)
        movie.push_back(static_cast<char>(packedSize >> (8 * i)));
    return movie + packed.substr(0, 5) + packed.substr(13);
}

// Whether the server closes the connection (rather than falling silent) within five seconds of
// the request.
bool closesAfterAnswering(int port, const std::string& request) {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval patience{5, 0};
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    ssize_t received = -1;
    if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        send(socket, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size())) {
        char buffer[65536];
        while ((received = recv(socket, buffer, sizeof buffer, 0)) > 0) {
        }
    }
    close(socket);
    return received == 0;
}

class CollectionTest : public testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("pebblo-collection-" + std::to_string(getpid()));
        fs::remove_all(root_);
        const std::string real = readFile(PEBBLO_SOURCE_DIR "/tests/data/games/flbox.swf");
        ASSERT_FALSE(real.empty());
        writeFile(root_ / "物理" / "flbox.swf", real);
        writeFile(root_ / "街机" / "balloonatroid.swf",
                  readFile(PEBBLO_SOURCE_DIR "/tests/data/games/balloonatroid.swf"));
        writeFile(root_ / "星空.swf", bytesOf(swf::makeGame(swf::GameKind::StarField)));
        writeFile(root_ / "风车" / "windmill.SWF", bytesOf(swf::makeGame(swf::GameKind::Windmill)));
        const std::string plain = bytesOf(swf::makeGame(swf::GameKind::Pulse));
        ASSERT_EQ(plain.substr(0, 3), "FWS") << "the LZMA copy is made from a plain movie";
        writeFile(root_ / "风车" / "pulse.swf", lzmaPacked(plain));
        writeFile(root_ / "cut.swf", real.substr(0, real.size() / 2));
        writeFile(root_ / "notes.swf", "<html>not a movie</html>");
        // A header that claims 4 GiB: refused before anything is unpacked.
        writeFile(root_ / "huge.swf",
                  std::string("CWS\x0a\xff\xff\xff\xff", 8) + real.substr(8, 64));
        writeFile(root_ / "games.csv", "file,name,description,category\n"
                                       "风车/windmill.SWF,\"大风车, 转呀转\",看风车|转,\n"
                                       "风车/pulse.swf,泡泡龙☃,,\n");
    }
    void TearDown() override { fs::remove_all(root_); }

    const IndexedGame& game(const std::vector<IndexedGame>& games, const std::string& path) {
        for (const IndexedGame& g : games)
            if (g.file.path == path)
                return g;
        throw std::runtime_error("not indexed: " + path);
    }

    fs::path root_;
};

TEST_F(CollectionTest, ScansReadsAndKeepsTheFolder) {
    Collection first = openCollection(root_, {}, false);
    EXPECT_EQ(first.report.read, 8u);
    ASSERT_EQ(first.report.rejected.size(), 3u);
    EXPECT_EQ(first.report.rejected[0].first, "cut.swf");
    EXPECT_EQ(first.report.rejected[1].first, "huge.swf");
    EXPECT_EQ(first.report.rejected[2].first, "notes.swf");

    const std::vector<IndexedGame> games = first.index->games();
    ASSERT_EQ(games.size(), 5u);
    const IndexedGame& real = game(games, "物理/flbox.swf");
    EXPECT_EQ(real.signature, "CWS");
    EXPECT_EQ(real.version, 10);
    EXPECT_EQ(real.stageWidth, 640);
    EXPECT_EQ(real.stageHeight, 480);
    EXPECT_TRUE(real.actionScript3);
    EXPECT_EQ(real.sha256.size(), 64u);
    EXPECT_EQ(real.pictureFormat, PictureFormat::Jpeg) << "the game's own picture";
    const IndexedGame& timeline = game(games, "街机/balloonatroid.swf");
    EXPECT_EQ(timeline.signature, "CWS");
    EXPECT_EQ(timeline.version, 7);
    EXPECT_FALSE(timeline.actionScript3) << "a movie of ActionScript 1/2, without FileAttributes";
    EXPECT_EQ(timeline.stageWidth, 240);
    EXPECT_EQ(timeline.stageHeight, 320);
    EXPECT_EQ(timeline.frameCount, 234);
    EXPECT_EQ(timeline.pictureFormat, PictureFormat::Jpeg) << "the game's own picture";
    const IndexedGame& packed = game(games, "风车/pulse.swf");
    EXPECT_EQ(packed.signature, "ZWS");
    EXPECT_FALSE(packed.actionScript3);
    EXPECT_EQ(packed.pictureFormat, PictureFormat::Png) << "a card: the movie holds no picture";
    EXPECT_EQ(game(games, "星空.swf").pictureFormat, PictureFormat::Jpeg);

    ASSERT_EQ(first.catalogue.categories.size(), 4u);
    const Game* renamed = nullptr;
    for (const Game& g : first.catalogue.games)
        if (g.swfFile.filename() == "windmill.SWF")
            renamed = &g;
    ASSERT_NE(renamed, nullptr);
    EXPECT_EQ(renamed->name, "大风车, 转呀转");
    EXPECT_EQ(renamed->description, "看风车｜转") << "'|' would cut the record";
    EXPECT_EQ(first.catalogue.category(renamed->categoryId)->name, "风车");

    first = {};
    Collection again = openCollection(root_, {}, false);
    EXPECT_EQ(again.report.kept, 5u);
    EXPECT_EQ(again.report.read, 0u);
    EXPECT_EQ(again.report.rejected.size(), 3u) << "still named, though not read again";

    fs::remove(root_ / "星空.swf");
    writeFile(root_ / "风车" / "pulse.swf", bytesOf(swf::makeGame(swf::GameKind::Pulse)) + "");
    fs::last_write_time(root_ / "风车" / "pulse.swf",
                        fs::last_write_time(root_ / "风车" / "pulse.swf") + std::chrono::hours(1));
    again = {};
    const Collection changed = openCollection(root_, {}, false);
    EXPECT_EQ(changed.report.removed, 1u);
    EXPECT_EQ(changed.report.read, 1u);
    EXPECT_EQ(game(changed.index->games(), "风车/pulse.swf").signature, "FWS");
    EXPECT_EQ(openCollection(root_, root_ / "other.sqlite", true).report.read, 7u);
}

TEST_F(CollectionTest, ServesTheGamesWithRangesAndValidators) {
    Collection collection = openCollection(root_, {}, false);
    std::string id;
    std::string bubbles;
    for (const Game& g : collection.catalogue.games) {
        if (g.swfFile.filename() == "flbox.swf")
            id = g.id;
        if (g.swfFile.filename() == "pulse.swf")
            bubbles = g.id;
    }
    CatalogueServer server(std::move(collection), {});
    const int port = server.bind(0);
    server.start();
    httplib::Client client("127.0.0.1", port);

    const auto record = client.Get("/GAMESOFT/GAMEINFO.ASP?ID=" + id);
    ASSERT_TRUE(record);
    const std::string text = decodeGbk(record->body);
    EXPECT_EQ(text.rfind(id + "|flbox|", 0), 0u) << text;
    const std::string picture = text.substr(text.rfind('|') + 1);
    EXPECT_EQ(picture.substr(picture.size() - 4), ".jpg");

    const std::string swf = "/gamesoft/flash/g" + id + ".swf";
    const auto whole = client.Get(swf);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->body, readFile(PEBBLO_SOURCE_DIR "/tests/data/games/flbox.swf"));
    const std::string etag = whole->get_header_value("ETag");
    EXPECT_FALSE(etag.empty());
    EXPECT_FALSE(whole->get_header_value("Last-Modified").empty());

    const auto part = client.Get(swf, {{"Range", "bytes=100-199"}, {"If-Range", etag}});
    ASSERT_TRUE(part);
    EXPECT_EQ(part->status, 206);
    EXPECT_EQ(part->get_header_value("Content-Range"), "bytes 100-199/263113");
    EXPECT_EQ(part->body, whole->body.substr(100, 100));
    const auto stale = client.Get(swf, {{"Range", "bytes=100-199"}, {"If-Range", "\"old\""}});
    ASSERT_TRUE(stale);
    EXPECT_EQ(stale->status, 200);
    EXPECT_EQ(stale->body.size(), whole->body.size());
    const auto unchanged = client.Get(swf, {{"If-None-Match", etag}});
    ASSERT_TRUE(unchanged);
    EXPECT_EQ(unchanged->status, 304);

    const auto thumbnail = client.Get(pathOf(picture));
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->body.substr(0, 2), "\xff\xd8");
    const auto ranking = client.Get("/gamesoft/GamePhList.asp");
    ASSERT_TRUE(ranking);
    EXPECT_NE(decodeGbk(ranking->body).find("flbox</a></td><td class=\"hot\">2 "),
              std::string::npos)
        << "whole downloads count, pieces do not";

    const auto found = client.Get("/gamesoft/soft_search.asp?keyword=ppl");
    ASSERT_TRUE(found);
    EXPECT_NE(found->body.find("ID=" + bubbles + "\""), std::string::npos) << "pinyin initials";
    const auto bubbleRecord = client.Get("/GAMESOFT/GAMEINFO.ASP?ID=" + bubbles);
    ASSERT_TRUE(bubbleRecord);
    const std::string nearest = bubbles + "|" + utf8ToGbk("泡泡龙") + "?|";
    EXPECT_EQ(bubbleRecord->body.substr(0, nearest.size()), nearest)
        << "the snowman has no GBK form";

    // The file shrinks after the scan: the server ends the transfer instead of waiting for
    // bytes that will not come.
    writeFile(root_ / "物理" / "flbox.swf", whole->body.substr(0, 1000));
    EXPECT_TRUE(closesAfterAnswering(port, "GET " + swf + " HTTP/1.1\r\nHost: x\r\n\r\n"));
    EXPECT_TRUE(client.Head(swf)) << "still serving";
}

TEST_F(CollectionTest, ABigCategoryPagesThroughEveryGame) {
    const swf::Bytes movie = swf::makeGame(swf::GameKind::Windmill);
    for (int i = 0; i < 300; ++i)
        writeFile(root_ / "大类" / ("game" + std::to_string(i) + ".swf"), bytesOf(movie));
    Collection collection = openCollection(root_, {}, false);
    std::set<std::string> expected;
    int categoryId = 0;
    for (const Game& g : collection.catalogue.games)
        if (collection.catalogue.category(g.categoryId)->name == "大类") {
            expected.insert(g.id);
            categoryId = g.categoryId;
        }
    ASSERT_EQ(expected.size(), 300u);
    CatalogueServer server(std::move(collection), {});
    const int port = server.bind(0);
    server.start();
    httplib::Client client("127.0.0.1", port);

    std::set<std::string> listed;
    std::set<std::string> seen;
    std::vector<std::string> queue = {"/gamesoft/GameList.asp?classid=" +
                                      std::to_string(categoryId)};
    while (!queue.empty()) {
        const std::string target = queue.back();
        queue.pop_back();
        if (!seen.insert(target).second)
            continue;
        const auto result = client.Get(target);
        ASSERT_TRUE(result && result->status == 200) << target;
        size_t onThisPage = 0;
        size_t pageLinks = 0;
        for (const std::string& link : links(decodeGbk(result->body))) {
            std::string upper = link; // every third link is written in mixed case
            std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
            if (const size_t id = upper.find("GAMEINFO.ASP?ID="); id != std::string::npos) {
                listed.insert(link.substr(id + 16));
                ++onThisPage;
            } else if (link.find("page=") != std::string::npos) {
                queue.push_back(pathOf(link));
                ++pageLinks;
            }
        }
        EXPECT_LE(onThisPage, 20u * 2) << "each game is linked twice: picture and name";
        EXPECT_LE(pageLinks, 12u) << "first, last and the pages near this one";
    }
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(seen.size(), 16u) << "15 pages, the first of them also without page=";
}

} // namespace
