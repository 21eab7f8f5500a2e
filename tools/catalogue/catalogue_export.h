#pragma once

#include "catalogue_site.h"

#include <filesystem>
#include <string>

struct ExportOptions {
    std::filesystem::path outDir;
    // name[:port] of the web server that will serve the export: the pages' links name it.
    std::string host = "127.0.0.1:8080";
    // host:port of a running pebblo-catalogue over the same index that answers searches; empty
    // for none.
    std::string searchUpstream;
    // The collection's folder, which the export folder must neither hold nor lie in.
    std::filesystem::path gamesDir;
};

struct ExportReport {
    size_t written = 0;
    size_t unchanged = 0; // games whose file was already there as it is
    size_t removed = 0;   // files of the last export that this one no longer serves
};

// Writes every page, record, game and picture that site serves to clients of options.host as
// files under options.outDir, with an nginx site that answers them with the same bytes. Files
// are replaced atomically; nothing outside outDir is touched. Throws std::runtime_error when
// the export cannot be complete.
ExportReport exportCatalogue(CatalogueSite& site, const ExportOptions& options);
