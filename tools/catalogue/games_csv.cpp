#include "games_csv.h"

#include <fstream>
#include <vector>

namespace {

using Row = std::vector<std::string>;

constexpr size_t kLargestList = 16 * 1024 * 1024;

std::vector<Row> parseCsv(std::string_view text) {
    std::vector<Row> rows(1, Row(1));
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& cell = rows.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                cell += text[++i];
            else if (c == '"')
                quoted = false;
            else
                cell += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\n') {
            rows.emplace_back(1);
        } else if (c != '\r') {
            cell += c;
        }
    }
    return rows;
}

std::string cell(const Row& row, size_t column) {
    return column < row.size() ? row[column] : std::string();
}

} // namespace

std::map<std::string, GameOverride> readGamesCsv(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::map<std::string, GameOverride> overrides;
    if (!in)
        return overrides;
    // Far more than any collection's list needs; a bigger file is read no further.
    std::string content(kLargestList, '\0');
    in.read(content.data(), std::streamsize(content.size()));
    content.resize(size_t(in.gcount()));
    if (content.rfind("\xef\xbb\xbf", 0) == 0) // spreadsheet programs start UTF-8 with a mark
        content.erase(0, 3);
    for (const Row& row : parseCsv(content)) {
        const std::string name = cell(row, 0);
        if (name.empty() || name == "file")
            continue;
        overrides[name] = {cell(row, 1), cell(row, 2), cell(row, 3)};
    }
    return overrides;
}
