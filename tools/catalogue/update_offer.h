#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What /down/update.xml offers. By default it offers the version the client already runs,
// so a demo is not talked into upgrading; tests and demos raise it.
struct UpdateOffer {
    std::string version = "3.7";
    std::string date = "12/17/2008";
    std::string method = "0";
    std::string message = "演示服务器的新版本。\n修正了一些问题。";
    std::vector<std::string> files = {"readme.txt"};
    // Faults for tests of the client's trust: "valid", "none" (no signature is served),
    // "wrong-key", "truncated", "tampered" (the bytes served are not the ones signed).
    std::string signature = "valid";
    // "valid", "missing" (no size and digest keys), "wrong-size", "wrong-digest".
    std::string fileCheck = "valid";
};

// Keys: version, date, method, message, files (comma-separated plain file names), signature,
// filecheck.
// False when the key is unknown or the value cannot stand in the file.
bool applyUpdateSetting(UpdateOffer& offer, std::string_view key, std::string_view value);

// key=value lines; "\n" inside a message stands for a line break; '#' starts a comment line.
UpdateOffer loadUpdateOffer(const std::filesystem::path& file);

// The content of a listed file, by its name; empty when there is no such file.
using UpgradeFileContent = std::function<std::optional<std::string>(const std::string& name)>;

// The information file in its key-pattern format (UTF-8; served as GBK), with the size and
// SHA-256 of every listed file whose content is known, as the offer's fileCheck says.
std::string updateInformation(const UpdateOffer& offer, std::string_view origin,
                              const UpgradeFileContent& contentOf);

// A plain file name that cannot leave the upgrade folder.
bool isPlainFileName(std::string_view name);

// Stand-in content of a listed file that the data folder does not provide.
std::string generatedUpgradeFile(std::string_view name, std::string_view version);
