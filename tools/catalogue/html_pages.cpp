#include "html_pages.h"

#include <algorithm>
#include <cstdlib>

namespace pages {
namespace {

constexpr int kNearbyPages = 5;

std::string escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\n':
            out += "<br>";
            break;
        case '\r':
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string frame(std::string_view title, std::string_view body) {
    return "<html>\n<head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n"
           "<title>" +
           escape(title) +
           "</title>\n<style>\n"
           "body{font-size:12px;font-family:SimSun,sans-serif;margin:6px;background:#fff}\n"
           "a{color:#0645ad;text-decoration:none} a:hover{color:#d00}\n"
           "h3{background:#2b6fc2;color:#fff;padding:4px;margin:0 0 6px 0;font-size:13px}\n"
           ".game{border-bottom:1px dashed #ccc;padding:4px;overflow:hidden}\n"
           ".game img{float:left;margin-right:8px;border:1px solid #999}\n"
           ".desc{color:#555} .hot{color:#d00}\n"
           "</style>\n</head>\n<body>\n" +
           std::string(body) + "</body>\n</html>\n";
}

std::string thumbnail(std::string_view origin, const Game& game) {
    return "<img src=\"" + escape(origin) + escape(game.picturePath) +
           "\" width=\"120\" height=\"90\" alt=\"" + escape(game.name) + "\">";
}

std::string card(std::string_view origin, const Game& game, size_t position) {
    const std::string link = escape(gameLink(origin, game, position));
    return "<div class=\"game\"><a href=\"" + link + "\">" + thumbnail(origin, game) +
           "</a><a href=\"" + link + "\"><b>" + escape(game.name) +
           "</b></a><br><span class=\"desc\">" + escape(game.description) + "</span></div>\n";
}

std::string cards(std::string_view origin, const std::vector<const Game*>& games) {
    std::string out;
    for (size_t i = 0; i < games.size(); ++i)
        out += card(origin, *games[i], i);
    return out;
}

} // namespace

uint64_t madeUpPlayCount(const Game& game) {
    unsigned hash = 2166136261u;
    for (unsigned char c : game.id)
        hash = (hash ^ c) * 16777619u;
    return 1000 + hash % 90000;
}

std::string gameLink(std::string_view origin, const Game& game, size_t position) {
    const char* path =
        position % 3 == 2 ? "/GameSoft/GameInfo.asp?id=" : "/GAMESOFT/GAMEINFO.ASP?ID=";
    return std::string(origin) + path + game.id;
}

std::string categoryTree(const Catalogue& catalogue, std::string_view origin) {
    std::string body = "<h3>游戏分类</h3>\n<ul>\n";
    for (const Category& c : catalogue.categories)
        body += "<li><a href=\"" + escape(origin) +
                "/gamesoft/GameList.asp?classid=" + std::to_string(c.id) + "\">" + escape(c.name) +
                "</a></li>\n";
    body += "</ul>\n<p><a href=\"" + escape(origin) + "/gamesoft/help.htm\">使用帮助</a></p>\n";
    return frame("游戏分类", body);
}

std::string gameList(const Catalogue& catalogue, const Category& category, int page,
                     std::string_view origin) {
    const int perPage = catalogue.gamesPerPage;
    const std::vector<const Game*> all = catalogue.inCategory(category.id);
    const int pageCount = catalogue.pageCount(category.id);
    std::vector<const Game*> shown;
    for (int i = (page - 1) * perPage;
         i >= 0 && i < page * perPage && i < static_cast<int>(all.size()); ++i)
        shown.push_back(all[static_cast<size_t>(i)]);
    std::string body = "<h3>" + escape(category.name) + "</h3>\n" + cards(origin, shown);
    body += "<p>第 " + std::to_string(page) + " / " + std::to_string(pageCount) + " 页 ";
    // A big category links its first and last page and those near this one; every page is
    // still reached by following the links.
    for (int p = 1; p <= pageCount; ++p) {
        if (p == page || (p != 1 && p != pageCount && std::abs(p - page) > kNearbyPages))
            continue;
        body += "<a href=\"" + escape(origin) +
                "/gamesoft/GameList.asp?classid=" + std::to_string(category.id) +
                "&amp;page=" + std::to_string(p) + "\">[" + std::to_string(p) + "]</a> ";
    }
    return frame(category.name, body + "</p>\n");
}

std::string recommendations(const Catalogue& catalogue, std::string_view origin, long dayNumber) {
    // Each day orders the games by a hash of the day and the game: the same six all day long,
    // drawn from the whole catalogue, and others the next day.
    auto dayRank = [dayNumber](const Game* game) {
        uint64_t hash = 1469598103934665603ull ^ static_cast<uint64_t>(dayNumber);
        for (unsigned char c : game->id)
            hash = (hash ^ c) * 1099511628211ull;
        return hash;
    };
    std::vector<std::pair<uint64_t, const Game*>> ranked;
    for (const Game* game : catalogue.showcase())
        ranked.emplace_back(dayRank(game), game);
    const size_t shown = std::min<size_t>(ranked.size(), 6);
    std::partial_sort(ranked.begin(), ranked.begin() + long(shown), ranked.end());
    std::vector<const Game*> games;
    for (size_t i = 0; i < shown; ++i)
        games.push_back(ranked[i].second);
    return frame("每日推荐", "<h3>每日推荐</h3>\n" + cards(origin, games));
}

std::string ranking(const Catalogue& catalogue, std::string_view origin,
                    const std::function<uint64_t(const Game&)>& plays, size_t shown) {
    std::vector<std::pair<uint64_t, const Game*>> counted;
    for (const Game* game : catalogue.showcase())
        counted.emplace_back(plays(*game), game);
    std::stable_sort(counted.begin(), counted.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    counted.resize(std::min(counted.size(), shown));
    std::string body = "<h3>最新排行</h3>\n<table>\n";
    for (size_t i = 0; i < counted.size(); ++i)
        body += "<tr><td>" + std::to_string(i + 1) + ".</td><td><a href=\"" +
                escape(gameLink(origin, *counted[i].second, i)) + "\">" +
                escape(counted[i].second->name) + "</a></td><td class=\"hot\">" +
                std::to_string(counted[i].first) + " 人玩过</td></tr>\n";
    return frame("最新排行", body + "</table>\n");
}

std::string search(std::string_view origin, std::string_view keyword,
                   const std::vector<const Game*>& results) {
    std::string body = "<h3>游戏搜索</h3>\n<form action=\"" + escape(origin) +
                       "/gamesoft/soft_search.asp\" method=\"get\">\n"
                       "<input type=\"text\" name=\"keyword\" value=\"" +
                       escape(keyword) + "\"> <input type=\"submit\" value=\"搜索\">\n</form>\n";
    if (!keyword.empty())
        body +=
            "<p>找到 " + std::to_string(results.size()) + " 个游戏</p>\n" + cards(origin, results);
    return frame("游戏搜索", body);
}

std::string advertMain(const Catalogue& catalogue, std::string_view origin) {
    const std::vector<const Game*> games = catalogue.showcase();
    std::string body = "<h3>欢迎来到小游戏世界！</h3>\n<table><tr>\n";
    for (size_t i = 0; i < games.size() && i < 4; ++i)
        body += "<td><a href=\"" + escape(gameLink(origin, *games[i], i)) + "\">" +
                thumbnail(origin, *games[i]) + "<br>" + escape(games[i]->name) + "</a></td>\n";
    return frame("广告", body + "</tr></table>\n");
}

std::string advertRight(const Catalogue& catalogue, std::string_view origin) {
    const std::vector<const Game*> games = catalogue.showcase();
    std::string body = "<h3>热门推荐</h3>\n";
    for (size_t i = games.size() > 2 ? games.size() - 2 : 0; i < games.size(); ++i)
        body += "<p><a href=\"" + escape(gameLink(origin, *games[i], i)) + "\">" +
                thumbnail(origin, *games[i]) + "<br>" + escape(games[i]->name) + "</a></p>\n";
    return frame("广告", body);
}

std::string help(std::string_view origin) {
    return frame("使用帮助", "<h3>使用帮助</h3>\n<p>点击左边的分类查看游戏，点击游戏名称开始游戏。"
                             "</p>\n<p><a href=\"" +
                                 escape(origin) + "/gamesoft/left.asp\">返回</a></p>\n");
}

std::string pictureErrorPage() {
    return frame("找不到图片", "<h3>对不起，图片暂时无法显示。</h3>\n");
}

std::string gameErrorPage() {
    return frame("找不到游戏", "<h3>对不起，游戏暂时无法下载。</h3>\n");
}

} // namespace pages
