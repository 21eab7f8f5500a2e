#pragma once

#include "catalogue.h"

#include <functional>
#include <string>
#include <string_view>

// The catalogue's pages as UTF-8 HTML declaring charset=gb2312 (the site encodes them to GBK).
// origin is "http://" plus the host the browser asked for, so every link leads back here.
namespace pages {

std::string categoryTree(const Catalogue& catalogue, std::string_view origin);
// page counts from 1; pages past the end list nothing.
std::string gameList(const Catalogue& catalogue, const Category& category, int page,
                     std::string_view origin);
std::string recommendations(const Catalogue& catalogue, std::string_view origin, long dayNumber);
// The games most played first, at most `shown` of them; plays: the count beside each game.
std::string ranking(const Catalogue& catalogue, std::string_view origin,
                    const std::function<uint64_t(const Game&)>& plays, size_t shown);
// A stable made-up play count, so the demo's ranking has an order.
uint64_t madeUpPlayCount(const Game& game);
std::string search(std::string_view origin, std::string_view keyword,
                   const std::vector<const Game*>& results);
std::string advertMain(const Catalogue& catalogue, std::string_view origin);
std::string advertRight(const Catalogue& catalogue, std::string_view origin);
std::string help(std::string_view origin);
// Served where a picture is expected, as a misconfigured server would.
std::string pictureErrorPage();
std::string gameErrorPage();

// The game-information address; every third game is written in mixed letter case.
std::string gameLink(std::string_view origin, const Game& game, size_t position);

} // namespace pages
