#pragma once

#include <string>
#include <string_view>

// Where an export puts what each address answers, relative to the export folder. The writer
// names files with real values, the nginx site with its variables in their place.
namespace export_layout {

struct FixedPage {
    std::string_view address; // lower case; clients may ask in any case
    std::string_view file;
};

// The pages the panes open, and the search page as it is before anything is searched.
inline constexpr FixedPage kFixedPages[] = {
    {"/gamesoft/left.asp", "_site/left.html"},
    {"/gamesoft/ad_main.htm", "_site/ad_main.html"},
    {"/gamesoft/ad_right.htm", "_site/ad_right.html"},
    {"/gamesoft/help.htm", "_site/help.html"},
    {"/gamesoft/gametjlist.asp", "_site/gametjlist.html"},
    {"/gamesoft/gamephlist.asp", "_site/gamephlist.html"},
};
inline constexpr FixedPage kEmptySearch = {"/gamesoft/soft_search.asp", "_site/search.html"};
inline constexpr std::string_view kRecordAddress = "/gamesoft/gameinfo.asp";
inline constexpr std::string_view kListAddress = "/gamesoft/gamelist.asp";

// Folders that hold the export's own files; nginx serves them only through the addresses above.
inline constexpr std::string_view kInternalFolders[] = {"_site", "nginx"};
inline constexpr std::string_view kSiteConfiguration = "nginx/pebblo-site.conf";
// Every file the last export wrote, so that the next one removes those it no longer serves.
inline constexpr std::string_view kWrittenFiles = "_site/files.txt";

inline std::string recordFile(std::string_view id) {
    return "_site/gameinfo/" + std::string(id) + ".txt";
}

inline std::string listFile(std::string_view category, std::string_view page) {
    return "_site/gamelist/" + std::string(category) + "/" + std::string(page) + ".html";
}

} // namespace export_layout
