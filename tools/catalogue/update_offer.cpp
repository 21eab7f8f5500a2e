#include "update_offer.h"

#include "update_signing.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace {

std::string unescapeLineBreaks(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool hasControlByte(std::string_view text) {
    for (unsigned char c : text)
        if (c < 32)
            return true;
    return false;
}

bool isOneOf(std::string_view value, std::initializer_list<std::string_view> choices) {
    return std::find(choices.begin(), choices.end(), value) != choices.end();
}

// The keys that vouch for the file listed under FileKey ("url", "url2", …), as the offer's
// fileCheck fault says.
std::string fileCheckKeys(const UpdateOffer& offer, const std::string& fileKey,
                          const std::string& content) {
    if (offer.fileCheck == "missing")
        return {};
    const std::string number = fileKey.substr(3);
    const size_t size = content.size() + (offer.fileCheck == "wrong-size" ? 1 : 0);
    std::string digest = update_signing::sha256Hex(content);
    if (offer.fileCheck == "wrong-digest")
        digest[0] = digest[0] == '0' ? '1' : '0';
    return "#size" + number + "=" + std::to_string(size) + "\r\n#sha256" +
           (number.empty() ? "" : "_" + number) + "=" + digest + "\r\n";
}

} // namespace

bool isPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos && !hasControlByte(name);
}

bool applyUpdateSetting(UpdateOffer& offer, std::string_view key, std::string_view value) {
    // One-line values end at the first control byte and the message at the first '}'.
    if (key == "message") {
        if (value.find('}') != std::string_view::npos)
            return false;
        offer.message = unescapeLineBreaks(value);
        return true;
    }
    if (hasControlByte(value))
        return false;
    if (key == "version")
        offer.version = value;
    else if (key == "date")
        offer.date = value;
    else if (key == "method")
        offer.method = value;
    else if (key == "signature" &&
             isOneOf(value, {"valid", "none", "wrong-key", "truncated", "tampered"}))
        offer.signature = value;
    else if (key == "filecheck" &&
             isOneOf(value, {"valid", "missing", "wrong-size", "wrong-digest"}))
        offer.fileCheck = value;
    else if (key == "files") {
        std::vector<std::string> files;
        size_t start = 0;
        while (start <= value.size()) {
            const size_t end = std::min(value.find(',', start), value.size());
            const std::string_view name = value.substr(start, end - start);
            if (!isPlainFileName(name))
                return false;
            files.emplace_back(name);
            start = end + 1;
        }
        offer.files = std::move(files);
    } else {
        return false;
    }
    return true;
}

UpdateOffer loadUpdateOffer(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    UpdateOffer offer;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos ||
            !applyUpdateSetting(offer, line.substr(0, equals), line.substr(equals + 1)))
            throw std::runtime_error(file.string() + ": bad line: " + line);
    }
    return offer;
}

std::string updateInformation(const UpdateOffer& offer, std::string_view origin,
                              const UpgradeFileContent& contentOf) {
    std::string text = "#version=" + offer.version + "\r\n#date=" + offer.date +
                       "\r\n#method=" + offer.method + "\r\n#message={" + offer.message + "}\r\n";
    for (size_t i = 0; i < offer.files.size(); ++i) {
        // Numbering goes url, url2, url3: url1 would not be read after url.
        const std::string key = i == 0 ? "url" : "url" + std::to_string(i + 1);
        text += "#" + key + "=" + std::string(origin) + "/down/files/" + offer.files[i] + "\r\n";
        if (const std::optional<std::string> content = contentOf(offer.files[i]))
            text += fileCheckKeys(offer, key, *content);
    }
    return text;
}

std::string generatedUpgradeFile(std::string_view name, std::string_view version) {
    constexpr size_t kSize = 64 * 1024;
    const std::string line = "Pebblo demo upgrade file " + std::string(name) + " for version " +
                             std::string(version) + "\n";
    std::string content;
    while (content.size() < kSize)
        content += line;
    return content;
}
