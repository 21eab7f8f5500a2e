#pragma once

#include <optional>
#include <string>
#include <string_view>

// The catalogue speaks code page 936 (GBK) on the wire; the server's own text is UTF-8.
std::string utf8ToGbk(std::string_view utf8);
// Empty when the bytes are not valid GBK.
std::optional<std::string> gbkToUtf8(std::string_view gbk);
