#include "catalogue_site.h"

#include "game_record.h"
#include "gbk.h"
#include "html_pages.h"
#include "thumbnail.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <ctime>
#include <fstream>
#include <sstream>

namespace {

constexpr uint64_t kMegabyte = 1024 * 1024;
constexpr uint64_t kLargestBlobMegabytes = 4096;
// A collection's ranking shows its most downloaded games, not every one it has.
constexpr size_t kRankedGames = 50;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string stripQuery(const std::string& path) {
    return path.substr(0, path.find('?'));
}

// Query parameter names are matched without regard to letter case, as links write "ID" or "id".
std::optional<std::string> parameter(const httplib::Request& request, std::string_view name) {
    for (const auto& [key, value] : request.params)
        if (lowerCase(key) == name)
            return value;
    return std::nullopt;
}

std::optional<long> number(const std::optional<std::string>& text) {
    long value = 0;
    if (!text)
        return std::nullopt;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size())
        return std::nullopt;
    return value;
}

const char* pictureType(PictureFormat format) {
    switch (format) {
    case PictureFormat::Bmp:
        return "image/bmp";
    case PictureFormat::Gif:
        return "image/gif";
    case PictureFormat::Jpeg:
        return "image/jpeg";
    case PictureFormat::Png:
        return "image/png";
    }
    return "application/octet-stream";
}

// Bytes that differ along the body, so a throughput test would notice lost or repeated pieces.
Payload blob(uint64_t size) {
    return Payload(size, [](uint64_t offset, size_t length, std::string& out) {
        for (uint64_t i = offset; i < offset + length; ++i)
            out.push_back(static_cast<char>((i * 131 + (i >> 10)) & 0xff));
    });
}

std::optional<std::string> readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Read piece by piece as it is sent, so a big game costs no memory while it travels.
Payload filePayload(const std::filesystem::path& file, uint64_t size) {
    return Payload(size, [file](uint64_t offset, size_t length, std::string& out) {
        std::ifstream in(file, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(offset));
        const size_t start = out.size();
        out.resize(start + length);
        in.read(out.data() + start, static_cast<std::streamsize>(length));
        out.resize(start + static_cast<size_t>(std::max<std::streamsize>(0, in.gcount())));
    });
}

std::string httpDate(int64_t unixSeconds) {
    const auto seconds = static_cast<time_t>(unixSeconds);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[40];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &parts);
    return text;
}

Reply notFound() {
    return Reply::plain(404, "Not found\n");
}

} // namespace

CatalogueSite::CatalogueSite(Catalogue catalogue, std::filesystem::path dataDir,
                             std::shared_ptr<CollectionIndex> index)
    : catalogue_(std::move(catalogue)), dataDir_(std::move(dataDir)), index_(std::move(index)) {
    if (!dataDir_.empty() && std::filesystem::exists(dataDir_ / "update.conf"))
        offer_ = loadUpdateOffer(dataDir_ / "update.conf");
    if (!dataDir_.empty())
        signingKey_ = update_signing::loadSecretKey(dataDir_ / "update.key");
    addGameAssets();
}

void CatalogueSite::addGameAssets() {
    std::map<swf::GameKind, std::shared_ptr<const std::string>> movies;
    for (swf::GameKind kind : swf::kAllGameKinds) {
        const swf::Bytes movie = swf::makeGame(kind);
        movies[kind] = std::make_shared<const std::string>(movie.begin(), movie.end());
    }
    const auto emptyMovie = std::make_shared<const std::string>();
    const swf::GamePalette grey{{90, 90, 90}, {200, 200, 200}, {140, 140, 140}};
    for (const Game& game : catalogue_.games) {
        if (!game.swfFile.empty()) {
            addCollectionAssets(game);
            continue;
        }
        const Payload movie = game.swfIsHtml
                                  ? Payload(utf8ToGbk(pages::gameErrorPage()))
                                  : Payload(game.kind ? movies.at(*game.kind) : emptyMovie);
        assets_[lowerCase(stripQuery(game.swfPath))] = {"application/x-shockwave-flash", movie};
        const std::string picture =
            game.pictureIsHtml
                ? utf8ToGbk(pages::pictureErrorPage())
                : encodePicture(
                      drawThumbnail(game.kind ? swf::paletteOf(*game.kind) : grey, game.name),
                      game.pictureFormat);
        assets_[lowerCase(game.picturePath)] = {
            game.pictureIsHtml ? "text/html; charset=gb2312" : pictureType(game.pictureFormat),
            Payload(picture)};
    }
}

// A collection's games stay on disk and their pictures in the index: memory holds neither.
void CatalogueSite::addCollectionAssets(const Game& game) {
    assets_[lowerCase(game.swfPath)] = {"application/x-shockwave-flash",
                                        filePayload(game.swfFile, game.swfSize), &game, true};
    const int64_t id = game.indexId;
    const std::shared_ptr<CollectionIndex> index = index_;
    Payload picture(game.pictureSize,
                    [index, id](uint64_t offset, size_t length, std::string& out) {
                        if (const auto bytes = index->picture(id); bytes && offset < bytes->size())
                            out.append(*bytes, size_t(offset), length);
                    });
    assets_[lowerCase(game.picturePath)] = {pictureType(game.pictureFormat), std::move(picture),
                                            &game, false};
}

Reply CatalogueSite::assetReply(const httplib::Request& request, const Asset& asset) const {
    Reply reply{200, asset.contentType, asset.body, {}, {}};
    if (!asset.game)
        return reply;
    const Game& game = *asset.game;
    reply.headers = {{"ETag", game.etag},
                     {"Last-Modified", httpDate(game.lastModified)},
                     {"Accept-Ranges", "bytes"}};
    if (request.get_header_value("If-None-Match") == game.etag) {
        reply.status = 304;
        reply.body = Payload();
        return reply;
    }
    // A download counts once, not again for each piece a resumed transfer asks for; a piece of
    // an older version is answered with the whole file, which counts.
    const bool whole =
        !request.has_header("Range") ||
        (request.has_header("If-Range") && request.get_header_value("If-Range") != game.etag);
    if (asset.counted && index_ && whole && request.method == "GET")
        index_->countDownload(game.indexId);
    return reply;
}

Reply CatalogueSite::answer(const httplib::Request& request, const std::string& path,
                            const std::string& host) {
    const std::string lowerPath = lowerCase(path);
    const std::string origin = "http://" + host;
    if (lowerPath == "/gamesoft/gameinfo.asp")
        return gameRecord(request, host);
    if (auto asset = assets_.find(lowerPath); asset != assets_.end())
        return assetReply(request, asset->second);
    if (lowerPath == "/bench/blob") {
        const auto megabytes = number(parameter(request, "mb"));
        if (!megabytes || *megabytes < 0 ||
            static_cast<uint64_t>(*megabytes) > kLargestBlobMegabytes)
            return Reply::plain(400, "mb must be a whole number from 0 to 4096\n");
        return {200,
                "application/octet-stream",
                blob(static_cast<uint64_t>(*megabytes) * kMegabyte),
                {},
                {}};
    }
    if (lowerPath == "/down/update.xml")
        return information(origin);
    if (lowerPath == "/down/update.xml.sig")
        return signature(origin);
    if (lowerPath.rfind("/down/files/", 0) == 0)
        return upgradeFile(path.substr(std::string_view("/down/files/").size()));
    if (lowerPath == "/_admin/update")
        return adminUpdate(request);
    return page(lowerPath, request, origin);
}

Reply CatalogueSite::page(const std::string& lowerPath, const httplib::Request& request,
                          const std::string& origin) const {
    std::string html;
    if (lowerPath == "/gamesoft/left.asp") {
        html = pages::categoryTree(catalogue_, origin);
    } else if (lowerPath == "/gamesoft/gamelist.asp") {
        const Category* category = catalogue_.category(
            static_cast<int>(number(parameter(request, "classid")).value_or(-1)));
        const long pageNumber = number(parameter(request, "page")).value_or(1);
        if (!category || pageNumber < 1)
            return notFound();
        html = pages::gameList(catalogue_, *category, static_cast<int>(pageNumber), origin);
    } else if (lowerPath == "/gamesoft/gametjlist.asp") {
        const auto days = std::chrono::duration_cast<std::chrono::days>(
            std::chrono::system_clock::now().time_since_epoch());
        html = pages::recommendations(catalogue_, origin, static_cast<long>(days.count()));
    } else if (lowerPath == "/gamesoft/gamephlist.asp") {
        html = rankingPage(origin);
    } else if (lowerPath == "/gamesoft/soft_search.asp") {
        // Browsers send the keyword in the page's encoding (GBK); show it back as UTF-8.
        const std::string keyword = parameter(request, "keyword").value_or("");
        html =
            pages::search(origin, gbkToUtf8(keyword).value_or(keyword), catalogue_.search(keyword));
    } else if (lowerPath == "/gamesoft/ad_main.htm") {
        html = pages::advertMain(catalogue_, origin);
    } else if (lowerPath == "/gamesoft/ad_right.htm") {
        html = pages::advertRight(catalogue_, origin);
    } else if (lowerPath == "/gamesoft/help.htm") {
        html = pages::help(origin);
    } else {
        return notFound();
    }
    return Reply::html(utf8ToGbkNearest(html));
}

std::string CatalogueSite::rankingPage(const std::string& origin) const {
    if (!index_)
        return pages::ranking(catalogue_, origin, pages::madeUpPlayCount, catalogue_.games.size());
    const std::map<int64_t, uint64_t> downloads = index_->downloadCounts();
    return pages::ranking(
        catalogue_, origin,
        [&](const Game& game) {
            const auto it = downloads.find(game.indexId);
            return it == downloads.end() ? 0 : it->second;
        },
        kRankedGames);
}

Reply CatalogueSite::gameRecord(const httplib::Request& request, const std::string& host) const {
    const Game* game = catalogue_.find(parameter(request, "id").value_or(""));
    if (!game)
        return notFound();
    Reply reply = {200, "text/html; charset=gb2312", Payload(::gameRecord(*game, host)), {}, {}};
    reply.configuredFault = game->recordFault;
    return reply;
}

Reply CatalogueSite::upgradeFile(const std::string& name) const {
    std::lock_guard lock(offerMutex_);
    std::optional<std::string> content = upgradeFileContentLocked(name);
    if (!content)
        return notFound();
    return {200, "application/octet-stream", Payload(std::move(*content)), {}, {}};
}

// A listed name may carry a query for the fault it asks for: the file is the name before it.
std::optional<std::string> CatalogueSite::upgradeFileContentLocked(const std::string& name) const {
    const std::string file = stripQuery(name);
    if (!isPlainFileName(file))
        return std::nullopt;
    if (!dataDir_.empty())
        if (auto content = readFile(dataDir_ / "files" / file))
            return content;
    const bool listed = std::any_of(offer_.files.begin(), offer_.files.end(),
                                    [&](const std::string& f) { return stripQuery(f) == file; });
    if (!listed)
        return std::nullopt;
    return generatedUpgradeFile(file, offer_.version);
}

std::string CatalogueSite::informationLocked(const std::string& origin) const {
    return utf8ToGbk(updateInformation(offer_, origin, [this](const std::string& name) {
        return upgradeFileContentLocked(name);
    }));
}

Reply CatalogueSite::information(const std::string& origin) const {
    std::lock_guard lock(offerMutex_);
    std::string bytes = informationLocked(origin);
    // One more file than was signed for.
    if (offer_.signature == "tampered")
        bytes += "#url9=" + origin + "/down/files/other.exe\r\n";
    return {200, "text/xml", Payload(std::move(bytes)), {}, {}};
}

// The signature of exactly the bytes /down/update.xml serves to the same host.
Reply CatalogueSite::signature(const std::string& origin) const {
    std::lock_guard lock(offerMutex_);
    if (!signingKey_ || offer_.signature == "none")
        return notFound();
    const std::string bytes = informationLocked(origin);
    std::string hex;
    if (offer_.signature == "wrong-key") {
        hex = update_signing::signatureHex(bytes, update_signing::newSecretKey());
    } else {
        hex = update_signing::signatureHex(bytes, *signingKey_);
        if (offer_.signature == "truncated")
            hex.resize(hex.size() / 2);
    }
    return Reply::plain(200, hex + "\n");
}

Reply CatalogueSite::adminUpdate(const httplib::Request& request) {
    std::lock_guard lock(offerMutex_);
    UpdateOffer changed = offer_;
    for (const auto& [key, value] : request.params)
        if (!applyUpdateSetting(changed, key, value))
            return Reply::plain(400, "cannot set " + key + "\n");
    offer_ = changed;
    return Reply::plain(
        200,
        gbkToUtf8(informationLocked("http://" + request.get_header_value("Host"))).value_or(""));
}
