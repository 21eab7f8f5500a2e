#pragma once

#include "catalogue.h"
#include "collection_index.h"

#include <filesystem>
#include <memory>

struct Collection {
    Catalogue catalogue;
    std::shared_ptr<CollectionIndex> index;
    ScanReport report;
};

// Scans root (its index in indexFile, by default root/.pebblo-index.sqlite) and makes the
// catalogue of its games: one category per first-level folder, games.csv's words over the
// file's own.
Collection openCollection(const std::filesystem::path& root, std::filesystem::path indexFile,
                          bool rescan);
