#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Games at the top of a collection fall into this category.
inline constexpr const char* kUnsortedCategory = "未分类";

struct CollectionFile {
    std::string path;     // relative to the collection, '/' between folders
    std::string category; // the first folder's name, or kUnsortedCategory
    uint64_t size = 0;
    int64_t modified = 0; // nanoseconds of the file's modification time
};

// The category of a file at this relative path.
std::string categoryOf(const std::string& path);

// Every .swf file (any letter case) under root, hidden files and folders left out, sorted by
// path. Throws std::filesystem::filesystem_error when root cannot be read.
std::vector<CollectionFile> listCollection(const std::filesystem::path& root);
