#pragma once
// Text in the system's 8-bit code pages: the ANSI one (ordinary text files)
// and the OEM one (what cmd reads batch files in).
#include <optional>
#include <string>
#include <string_view>

namespace support {

enum class CodePage { Ansi, Oem };

// The text in that code page, or nothing when a character has no place in it
// (a lossy conversion would put '?' or a look-alike in its place).
std::optional<std::string> ToCodePage(CodePage page, std::wstring_view text);

} // namespace support
