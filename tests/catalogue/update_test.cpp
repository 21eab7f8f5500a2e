#include "catalogue_fixture.h"
#include "update_signing.h"

#include <algorithm>

namespace {

// A one-line value as the upgrade check reads it: behind "#key=" (key in any case) up to
// the first control byte.
std::string keyValue(const std::string& text, const std::string& key) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const size_t at = lower.find("#" + key + "=");
    if (at == std::string::npos)
        return {};
    const size_t start = at + key.size() + 2;
    size_t end = start;
    while (end < text.size() && static_cast<unsigned char>(text[end]) >= 32)
        ++end;
    return text.substr(start, end - start);
}

std::string message(const std::string& text) {
    const size_t start = text.find("#message={");
    if (start == std::string::npos)
        return {};
    return text.substr(start + 10, text.find('}', start) - start - 10);
}

class Update : public CatalogueFixture {
protected:
    std::string information() { return decodeGbk(get("/down/update.xml")->body); }
};

} // namespace

TEST_F(Update, InformationFileOffersTheRunningVersionAndListsDownloadableFiles) {
    const std::string text = information();
    EXPECT_EQ(keyValue(text, "version"), "3.7");
    EXPECT_EQ(keyValue(text, "method"), "0");
    EXPECT_NE(message(text).find('\n'), std::string::npos);
    const std::string url = keyValue(text, "url");
    ASSERT_EQ(url, origin() + "/down/files/readme.txt");
    const httplib::Result file = get(pathOf(url));
    EXPECT_EQ(file->status, 200);
    EXPECT_FALSE(file->body.empty());
    // It vouches for the file it lists; without a key of its own it signs nothing.
    EXPECT_EQ(keyValue(text, "size"), std::to_string(file->body.size()));
    EXPECT_EQ(keyValue(text, "sha256"), update_signing::sha256Hex(file->body));
    EXPECT_EQ(get("/down/update.xml.sig")->status, 404);
}

TEST_F(Update, AdminEndpointChangesTheOffer) {
    const httplib::Result changed =
        get("/_admin/update?version=3.8&method=1&files=pebblo,skin.skn&message=%E6%96%B0%5Cnline");
    ASSERT_EQ(changed->status, 200);
    const std::string text = information();
    EXPECT_EQ(keyValue(text, "version"), "3.8");
    EXPECT_EQ(keyValue(text, "method"), "1");
    EXPECT_EQ(message(text), "新\nline");
    EXPECT_EQ(keyValue(text, "url"), origin() + "/down/files/pebblo");
    EXPECT_EQ(keyValue(text, "url2"), origin() + "/down/files/skin.skn");
    EXPECT_EQ(keyValue(text, "url1"), "");
    EXPECT_EQ(get("/down/files/skin.skn")->status, 200);
    EXPECT_EQ(get("/down/files/readme.txt")->status, 404);

    for (const char* bad : {"/_admin/update?colour=red", "/_admin/update?message=a%7Db",
                            "/_admin/update?files=../escape", "/_admin/update?version=1%0A2"})
        EXPECT_EQ(get(bad)->status, 400) << bad;
    EXPECT_EQ(keyValue(information(), "version"), "3.8");
}
