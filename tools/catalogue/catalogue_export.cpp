#include "catalogue_export.h"

#include "atomic_file.h"
#include "export_layout.h"
#include "nginx_site.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <regex>
#include <set>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

// A relative path that stays where it is put: no empty, "." or ".." step, no control character.
bool isPlainRelative(std::string_view path) {
    if (path.empty() || path.front() == '/')
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string_view step = path.substr(start, end - start);
        if (step.empty() || step == "." || step == "..")
            return false;
        start = end + 1;
    }
    return std::none_of(path.begin(), path.end(), [](unsigned char c) {
        return c < 0x20 || c == 0x7f || c == '\\' || c == '?' || c == '#';
    });
}

bool isInternal(std::string_view relative) {
    const std::string_view first = relative.substr(0, relative.find('/'));
    return std::any_of(std::begin(export_layout::kInternalFolders),
                       std::end(export_layout::kInternalFolders),
                       [&](std::string_view folder) { return folder == first; });
}

// The file that holds what a game's address answers, relative to the export folder.
std::string fileOfAddress(const std::string& address) {
    const std::string relative = address.substr(std::min<size_t>(1, address.size()));
    if (address.empty() || address.front() != '/' || !isPlainRelative(relative) ||
        isInternal(relative))
        throw std::runtime_error("cannot export the address " + address);
    return relative;
}

std::string percentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : text)
        if (std::isalnum(c) || c == '_' || c == '-')
            encoded += static_cast<char>(c);
        else
            encoded += {'%', kHex[c >> 4], kHex[c & 15]};
    return encoded;
}

// The extension nginx would read a type from, in lower case; empty when there is none.
std::string extensionOf(const std::string& address) {
    const std::string name = address.substr(address.rfind('/') + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return {};
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const bool plain =
        !extension.empty() && std::all_of(extension.begin(), extension.end(),
                                          [](unsigned char c) { return std::isalnum(c); });
    return plain ? extension : std::string();
}

// Whether path is folder or lies in it, also through whatever links already lie on the way.
bool isWithin(const fs::path& path, const fs::path& folder) {
    const fs::path real = fs::weakly_canonical(fs::absolute(path));
    const fs::path realFolder = fs::weakly_canonical(fs::absolute(folder));
    return std::mismatch(realFolder.begin(), realFolder.end(), real.begin(), real.end()).first ==
           realFolder.end();
}

int64_t modifiedSeconds(const fs::path& file) {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::file_clock::to_sys(fs::last_write_time(file)).time_since_epoch())
        .count();
}

class Exporter {
public:
    Exporter(CatalogueSite& site, const ExportOptions& options) : site_(site), options_(options) {
        if (!isHostAddress(options.host, false))
            throw std::runtime_error("not a host name with an optional port: " + options.host);
        if (!options.searchUpstream.empty() && !isHostAddress(options.searchUpstream, true))
            throw std::runtime_error("not a host:port: " + options.searchUpstream);
        // An export in the games would be scanned as games; games in it could be overwritten.
        if (!options.gamesDir.empty() && (isWithin(options.outDir, options.gamesDir) ||
                                          isWithin(options.gamesDir, options.outDir)))
            throw std::runtime_error("the export folder and the games folder must lie apart");
        fs::create_directories(options.outDir);
        root_ = fs::canonical(options.outDir);
    }

    ExportReport run() {
        using namespace export_layout;
        const Catalogue& catalogue = site_.catalogue();
        for (const FixedPage& fixed : kFixedPages)
            page(fixed.address, {}, std::string(fixed.file));
        page(kEmptySearch.address, {}, std::string(kEmptySearch.file));
        for (const Category& category : catalogue.categories)
            for (int number = 1; number <= catalogue.pageCount(category.id); ++number) {
                const std::string id = std::to_string(category.id), p = std::to_string(number);
                page(kListAddress, {{"classid", id}, {"page", p}}, listFile(id, p));
            }
        static const std::regex kId("[0-9A-Za-z_'-]+");
        for (const Game& game : catalogue.games) {
            if (!std::regex_match(game.id, kId))
                throw std::runtime_error("cannot export the game id " + game.id);
            const Payload record = page(kRecordAddress, {{"id", game.id}}, recordFile(game.id));
            // A browser may send a quote in the address as %27, and nginx looks the id up as sent.
            if (const std::string encoded = percentEncoded(game.id); encoded != game.id)
                write(recordFile(encoded), record);
            gameFile(game.swfPath, game, true);
            gameFile(game.picturePath, game, false);
        }
        write(std::string(kSiteConfiguration), Payload(nginxSiteConfiguration(nginxSite())));
        removeStale();
        std::string list;
        for (const std::string& file : written_)
            list += file + "\n";
        writeFileAtomically(root_ / kWrittenFiles, Payload(list));
        return report_;
    }

private:
    // Asked as HEAD: an export is no download, so the site counts none.
    Reply ask(std::string_view address, httplib::Params params) {
        httplib::Request request;
        request.method = "HEAD";
        request.path = std::string(address);
        request.params = std::move(params);
        Reply reply = site_.answer(request, request.path, options_.host);
        if (reply.status != 200 || !reply.configuredFault.empty())
            throw std::runtime_error("the catalogue does not answer " + request.path +
                                     " as a file (" + std::to_string(reply.status) + ")");
        return reply;
    }

    Payload page(std::string_view address, httplib::Params params, const std::string& file) {
        const Reply reply = ask(address, std::move(params));
        if (pageType_.empty())
            pageType_ = reply.contentType;
        if (reply.contentType != pageType_)
            throw std::runtime_error("pages of several types cannot be served as one");
        write(file, reply.body);
        return reply.body;
    }

    // A collection's game file keeps the time the program reports for it, and is not copied
    // again while it is there at the same size and time.
    void gameFile(const std::string& address, const Game& game, bool movie) {
        const Reply reply = ask(address, {});
        const std::string file = fileOfAddress(address);
        types_[extensionOf(address)].insert(reply.contentType);
        typeOf_[address] = reply.contentType;
        const std::optional<int64_t> modified =
            game.swfFile.empty() ? std::nullopt : std::optional(game.lastModified);
        const fs::path path = root_ / file;
        std::error_code error;
        if (movie && modified && fs::file_size(path, error) == reply.body.size() && !error &&
            modifiedSeconds(path) == *modified) {
            written_.insert(file);
            ++report_.unchanged;
            return;
        }
        write(file, reply.body, modified);
    }

    void write(const std::string& file, const Payload& body,
               std::optional<int64_t> modified = std::nullopt) {
        const fs::path path = root_ / file;
        if (!isWithin(path.parent_path(), root_))
            throw std::runtime_error(path.string() + " leads out of the export folder");
        fs::create_directories(path.parent_path());
        writeFileAtomically(path, body, modified);
        written_.insert(file);
        ++report_.written;
    }

    // Only files the last export listed, only plain files inside the export folder.
    void removeStale() {
        std::ifstream list(root_ / export_layout::kWrittenFiles);
        for (std::string file; std::getline(list, file);) {
            if (written_.count(file) || !isPlainRelative(file))
                continue;
            const fs::path path = root_ / file;
            std::error_code error;
            if (fs::is_regular_file(fs::symlink_status(path, error)) &&
                isWithin(path.parent_path(), root_) && fs::remove(path, error))
                ++report_.removed;
        }
    }

    // Extensions whose files all share a type go into nginx's table; the others by address.
    NginxSite nginxSite() const {
        NginxSite site{options_.host, root_, options_.searchUpstream, pageType_, {}, {}};
        for (const auto& [address, type] : typeOf_) {
            const std::string extension = extensionOf(address);
            if (!extension.empty() && types_.at(extension).size() == 1)
                site.fileTypes[extension] = type;
            else
                site.oddFiles[address] = type;
        }
        return site;
    }

    CatalogueSite& site_;
    const ExportOptions& options_;
    fs::path root_;
    std::string pageType_;
    std::map<std::string, std::set<std::string>> types_; // by extension
    std::map<std::string, std::string> typeOf_;          // by game file address
    std::set<std::string> written_;
    ExportReport report_;
};

} // namespace

ExportReport exportCatalogue(CatalogueSite& site, const ExportOptions& options) {
    return Exporter(site, options).run();
}
