#pragma once

#include <filesystem>
#include <map>
#include <string>

// What a collection's games.csv says of one file; an empty cell leaves the file's own value.
struct GameOverride {
    std::string name;
    std::string description;
    std::string category;
};

// games.csv (UTF-8; columns file, name, description, category; quoted cells may hold commas,
// doubled quotes and line breaks; a first row naming the columns is skipped). Keyed by the
// file's path relative to the collection, with '/' between folders. None when there is no file;
// only its first 16 MiB are read.
std::map<std::string, GameOverride> readGamesCsv(const std::filesystem::path& file);
