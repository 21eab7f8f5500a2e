#include "collection_files.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

bool isMovieFile(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".swf";
}

bool isHidden(const fs::path& path) {
    return path.filename().string().rfind('.', 0) == 0;
}

} // namespace

std::string categoryOf(const std::string& path) {
    const size_t slash = path.find('/');
    return slash == std::string::npos ? kUnsortedCategory : path.substr(0, slash);
}

std::vector<CollectionFile> listCollection(const fs::path& root) {
    std::vector<CollectionFile> files;
    auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied);
    for (; it != fs::recursive_directory_iterator(); ++it) {
        if (isHidden(it->path())) {
            if (it->is_directory())
                it.disable_recursion_pending();
            continue;
        }
        std::error_code error;
        if (!it->is_regular_file(error) || !isMovieFile(it->path()))
            continue;
        const fs::path relative = it->path().lexically_relative(root);
        CollectionFile file;
        file.path = relative.generic_string();
        file.category = categoryOf(file.path);
        file.size = it->file_size(error);
        file.modified = it->last_write_time(error).time_since_epoch().count();
        if (!error)
            files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(),
              [](const CollectionFile& a, const CollectionFile& b) { return a.path < b.path; });
    return files;
}
