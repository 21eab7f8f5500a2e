#pragma once

#include "payload.h"

#include <cstdint>
#include <filesystem>
#include <optional>

// Writes body to file through a temporary file beside it and a rename, so whoever reads the
// folder meanwhile (a web server serving it) finds the old file or the new one, never a part.
// modified (seconds since 1970) becomes the file's modification time when given. Throws
// std::runtime_error when the file cannot be written; nothing is left behind then.
void writeFileAtomically(const std::filesystem::path& file, const Payload& body,
                         std::optional<int64_t> modified = std::nullopt);
