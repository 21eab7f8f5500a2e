#include "catalogue_fixture.h"
#include "gbk.h"

#include <algorithm>
#include <set>

namespace {

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string percentEncoded(const std::string& bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes)
        out += {'%', kHex[c >> 4], kHex[c & 15]};
    return out;
}

class Pages : public CatalogueFixture {
protected:
    std::string page(const std::string& target) {
        const httplib::Result result = get(target);
        EXPECT_TRUE(result) << target;
        if (!result)
            return {};
        EXPECT_EQ(result->status, 200) << target;
        return decodeGbk(result->body);
    }

    std::string gamePrefix() const { return upperCase(origin()) + "/GAMESOFT/GAMEINFO.ASP?ID="; }

    std::vector<std::string> gameLinks(const std::string& html) const {
        std::vector<std::string> found;
        for (const std::string& link : links(html))
            if (upperCase(link).rfind(gamePrefix(), 0) == 0)
                found.push_back(link);
        return found;
    }

    std::set<std::string> gameIds(const std::string& html) const {
        std::set<std::string> ids;
        for (const std::string& link : gameLinks(html))
            ids.insert(link.substr(gamePrefix().size()));
        return ids;
    }

    std::vector<std::string> allPages() const {
        std::vector<std::string> targets = {"/gamesoft/left.asp",       "/gamesoft/AD_main.htm",
                                            "/gamesoft/AD_right.htm",   "/gamesoft/GameTjList.asp",
                                            "/gamesoft/GamePhList.asp", "/gamesoft/soft_search.asp",
                                            "/gamesoft/help.htm"};
        for (const Category& category : catalogue().categories)
            targets.push_back("/gamesoft/GameList.asp?classid=" + std::to_string(category.id));
        return targets;
    }
};

} // namespace

TEST_F(Pages, EveryPageIsGbkHtmlDeclaringGb2312) {
    for (const std::string& target : allPages()) {
        SCOPED_TRACE(target);
        const httplib::Result result = get(target);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 200);
        EXPECT_NE(result->get_header_value("Content-Type").find("charset=gb2312"),
                  std::string::npos);
        const std::string text = decodeGbk(result->body);
        EXPECT_NE(text.find("charset=gb2312"), std::string::npos);
        // Chinese text makes the GBK check meaningful: its bytes are not plain ASCII.
        EXPECT_TRUE(std::any_of(result->body.begin(), result->body.end(),
                                [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
    }
}

TEST_F(Pages, CategoryTreeLinksEachCategoryByClassidAndOneLinkWithout) {
    const std::vector<std::string> treeLinks = links(page("/gamesoft/left.asp"));
    std::set<std::string> classIds;
    int withoutClassid = 0;
    for (const std::string& link : treeLinks) {
        const size_t at = link.find("classid=");
        if (at == std::string::npos)
            ++withoutClassid;
        else
            classIds.insert(link.substr(at + 8));
    }
    EXPECT_EQ(classIds.size(), catalogue().categories.size());
    EXPECT_GE(withoutClassid, 1);
    for (const std::string& link : treeLinks)
        EXPECT_EQ(link.rfind(origin(), 0), 0u) << link;
}

TEST_F(Pages, GameListsPageThroughEveryGameOfTheirCategory) {
    for (const Category& category : catalogue().categories) {
        SCOPED_TRACE(category.id);
        std::set<std::string> listed;
        std::set<std::string> pagesSeen;
        std::vector<std::string> queue = {"/gamesoft/GameList.asp?classid=" +
                                          std::to_string(category.id)};
        while (!queue.empty()) {
            const std::string target = queue.back();
            queue.pop_back();
            if (!pagesSeen.insert(target).second)
                continue;
            const std::string html = page(target);
            for (const std::string& id : gameIds(html))
                listed.insert(id);
            for (const std::string& link : links(html))
                if (link.find("page=") != std::string::npos)
                    queue.push_back(pathOf(link));
        }
        std::set<std::string> expected;
        for (const Game* game : catalogue().inCategory(category.id))
            expected.insert(game->id);
        EXPECT_EQ(listed, expected);
    }
    EXPECT_EQ(get("/gamesoft/GameList.asp?classid=1&page=2")->status, 200);
}

TEST_F(Pages, GameLinksUseTheInformationAddressInCapitalAndMixedCase) {
    std::set<std::string> spellings;
    for (const std::string& target : allPages())
        for (const std::string& link : gameLinks(page(target)))
            spellings.insert(link.substr(0, gamePrefix().size()));
    EXPECT_TRUE(spellings.contains(origin() + "/GAMESOFT/GAMEINFO.ASP?ID="));
    EXPECT_TRUE(spellings.contains(origin() + "/GameSoft/GameInfo.asp?id="));
}

TEST_F(Pages, PagesShowThumbnailsNamesAndDescriptions) {
    const std::string html = page("/gamesoft/GameList.asp?classid=2");
    for (const Game* game : catalogue().inCategory(2)) {
        EXPECT_NE(html.find("<img src=\"" + origin() + game->picturePath + "\""),
                  std::string::npos);
        EXPECT_NE(html.find(game->name), std::string::npos);
    }
    EXPECT_NE(html.find("红灯停，绿灯行。<br>黄灯亮了等一等。"), std::string::npos);
}

TEST_F(Pages, SearchFindsGamesByKeywordInGbkOrAscii) {
    const std::string form = page("/gamesoft/soft_search.asp");
    EXPECT_NE(form.find("<form"), std::string::npos);
    EXPECT_NE(form.find("name=\"keyword\""), std::string::npos);
    EXPECT_TRUE(gameIds(form).empty());

    const std::string sameName =
        page("/gamesoft/soft_search.asp?keyword=" + percentEncoded(utf8ToGbk("打砖块")));
    EXPECT_EQ(gameIds(sameName), (std::set<std::string>{"1007", "1008"}));
    EXPECT_NE(sameName.find("value=\"打砖块\""), std::string::npos);
    EXPECT_EQ(gameIds(page("/gamesoft/soft_search.asp?keyword=Tom")),
              (std::set<std::string>{"1010"}));
    EXPECT_TRUE(gameIds(page("/gamesoft/soft_search.asp?keyword=nothing-like-this")).empty());
}

TEST_F(Pages, UnknownPathsAndCategoriesAreNotFound) {
    for (const char* target :
         {"/", "/gamesoft/nothing.asp", "/gamesoft/GameList.asp",
          "/gamesoft/GameList.asp?classid=77", "/gamesoft/GameList.asp?classid=1&page=0",
          "/gamesoft/GameList.asp?classid=abc", "/down/files/../update.xml"})
        EXPECT_EQ(get(target)->status, 404) << target;
}
