#include "nginx_site.h"

#include "export_layout.h"

#include <regex>
#include <stdexcept>

namespace {

// Quoted for nginx; characters that nginx would read as variables or escapes are refused.
std::string quoted(const std::string& value) {
    for (unsigned char c : value)
        if (c < 0x20 || c == 0x7f || c == '"' || c == '\\' || c == '$')
            throw std::runtime_error("cannot put into the nginx site: " + value);
    return "\"" + value + "\"";
}

// The layout's own addresses and files are plain names that need no quotes.
std::string regexOf(std::string_view address) {
    std::string pattern = "^";
    for (char c : address) {
        if (c == '.')
            pattern += '\\';
        pattern += c;
    }
    return pattern + "$";
}

std::string pageLocation(std::string_view address, const std::string& type,
                         const std::string& body) {
    return "    location ~* " + regexOf(address) + " {\n        types {}\n        default_type " +
           type + ";\n" + body + "    }\n";
}

std::string tryFile(const std::string& file) {
    return "        try_files /" + file + " =404;\n";
}

const std::regex kHost(R"(([A-Za-z0-9.-]+)(:([0-9]{1,5}))?)");

std::string listen(const std::string& host) {
    std::smatch parts;
    if (!std::regex_match(host, parts, kHost))
        throw std::runtime_error("not a host name with an optional port: " + host);
    const std::string port = parts[3].matched ? parts[3].str() : "80";
    const std::string name = parts[1];
    // A site for this machine alone stays off the network.
    const bool loopback = name == "localhost" || name.rfind("127.", 0) == 0;
    return "    # The port clients reach the site on; the pages' links name it (export --host).\n"
           "    listen " +
           (loopback ? "127.0.0.1:" + port : port) + ";\n    server_name " + name + ";\n";
}

std::string searchLocations(const NginxSite& site, const std::string& type) {
    const std::string file = tryFile(std::string(export_layout::kEmptySearch.file));
    if (site.searchUpstream.empty())
        return pageLocation(export_layout::kEmptySearch.address, type,
                            "        # Searches need the catalogue program (export "
                            "--search-via); this export has none.\n"
                            "        if ($arg_keyword != \"\") {\n            return 404;\n"
                            "        }\n" +
                                file);
    if (!isHostAddress(site.searchUpstream, true))
        throw std::runtime_error("not a host:port: " + site.searchUpstream);
    return pageLocation(export_layout::kEmptySearch.address, type,
                        "        error_page 418 = @pebblo_search;\n"
                        "        if ($arg_keyword != \"\") {\n            return 418;\n"
                        "        }\n" +
                            file) +
           "    # The catalogue program over the same index answers searches, its links "
           "pointing here.\n"
           "    location @pebblo_search {\n        proxy_pass http://" +
           site.searchUpstream + ";\n        proxy_set_header Host $http_host;\n    }\n";
}

// The parameters as the program reads them, whatever their names' letter case: an id of its own
// characters only, leading zeros left out of numbers, a page that is no number is the first, a
// page before the first is none. A value that can name no exported file gives one that is
// never there.
constexpr const char* kParameters = R"(map $arg_id $pebblo_game {
    "~^[0-9A-Za-z_'%-]+$" $arg_id;
    default "";
}
map $arg_classid $pebblo_class {
    "~^0*(?<number>[0-9]{1,9})$" $number;
    default none;
}
map $arg_page $pebblo_page {
    "~^-" none;
    "~^0*(?<number>[0-9]{1,9})$" $number;
    default 1;
}
)";

} // namespace

bool isHostAddress(const std::string& text, bool portRequired) {
    std::smatch parts;
    return std::regex_match(text, parts, kHost) && (parts[3].matched || !portRequired);
}

std::string nginxSiteConfiguration(const NginxSite& site) {
    using namespace export_layout;
    const std::string type = quoted(site.pageType);
    std::string text =
        std::string("# The Pebblo catalogue exported by pebblo-catalogue --export: nginx answers "
                    "every address\n# with the bytes the catalogue program would. Include it in "
                    "nginx's http block\n# (its maps name variables pebblo_*).\n") +
        kParameters + "server {\n" + listen(site.host) + "    root " + quoted(site.root.string()) +
        ";\n    default_type application/octet-stream;\n    types {\n";
    for (const auto& [extension, fileType] : site.fileTypes)
        text += "        " + quoted(fileType) + " " + extension + ";\n";
    text += "    }\n";
    for (std::string_view folder : kInternalFolders)
        text += "    location ^~ /" + std::string(folder) + "/ {\n        internal;\n    }\n";
    for (const auto& [address, fileType] : site.oddFiles)
        text += "    location = " + quoted(address) +
                " {\n        types {}\n        default_type " + quoted(fileType) + ";\n    }\n";
    text += "    # Pages and records: letter case counts neither in their addresses nor in "
            "their parameters' names.\n";
    for (const FixedPage& page : kFixedPages)
        text += pageLocation(page.address, type, tryFile(std::string(page.file)));
    text += pageLocation(kRecordAddress, type, tryFile(recordFile("$pebblo_game")));
    text += pageLocation(kListAddress, type, tryFile(listFile("$pebblo_class", "$pebblo_page")));
    text += searchLocations(site, type);
    return text + "}\n";
}
