#pragma once

#include <filesystem>
#include <map>
#include <string>

// What the nginx site of an export needs to know beyond the export's layout.
struct NginxSite {
    std::string host;           // name[:port], as the pages' links write it
    std::filesystem::path root; // the export folder, absolute
    // host:port of a running pebblo-catalogue that answers searches; empty: only the empty
    // search is answered.
    std::string searchUpstream;
    std::string pageType;                         // of pages and records
    std::map<std::string, std::string> fileTypes; // by lower-case extension
    std::map<std::string, std::string> oddFiles;  // address -> type its extension does not tell
};

// name[:port], or name:port when the port is required; names of letters, digits, '.' and '-'.
bool isHostAddress(const std::string& text, bool portRequired);

// The text of the nginx site file: the maps that read the parameters and a server block that
// answers every address as the catalogue program does. Throws std::runtime_error when a value
// cannot be written into the configuration safely.
std::string nginxSiteConfiguration(const NginxSite& site);
