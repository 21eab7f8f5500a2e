#pragma once

#include <optional>
#include <string>
#include <string_view>

// The catalogue speaks code page 936 (GBK) on the wire; the server's own text is UTF-8.
std::string utf8ToGbk(std::string_view utf8);
// For text from people's files: what GBK cannot hold is written in its nearest form (a Latin
// letter without its accent, a question mark when there is none), and so are broken UTF-8 bytes.
std::string utf8ToGbkNearest(std::string_view utf8);
// Empty when the bytes are not valid GBK.
std::optional<std::string> gbkToUtf8(std::string_view gbk);
