#pragma once
// Texts are UTF-8 inside both programs; the system speaks UTF-16 on Windows
// (wchar_t) and paths are std::filesystem::path. These convert at the edges,
// never through a code page that could lose a character.
#include <filesystem>
#include <string>
#include <string_view>

namespace support {

// UTF-8 to wide text (UTF-16 where wchar_t has 16 bits, UTF-32 elsewhere).
// A malformed sequence becomes U+FFFD.
std::wstring Widen(std::string_view utf8);
// Wide text to UTF-8; a lone surrogate becomes U+FFFD.
std::string Narrow(std::wstring_view wide);
// The same, appended to out.
void AppendNarrow(std::string& out, std::wstring_view wide);

// One code point of UTF-8 at pos, moving pos past it; U+FFFD for a
// malformed sequence. And the UTF-8 form of a code point.
char32_t NextCodePoint(std::string_view utf8, size_t& pos);
void AppendUtf8(std::string& out, char32_t codePoint);

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

} // namespace support
