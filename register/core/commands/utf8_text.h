#pragma once
// Character-wise cuts of UTF-8 text: the register's rules speak of characters,
// and cutting bytes would split an accented letter in two.
#include <cstddef>
#include <string>
#include <string_view>

namespace ombriel {

// Number of characters (code points) in text.
size_t Utf8Length(std::string_view text);
// text without its last count characters; empty when it has no more.
std::string Utf8DropLast(std::string_view text, size_t count);
// The last count characters of text; all of it when it is shorter.
std::string Utf8TakeLast(std::string_view text, size_t count);

} // namespace ombriel
