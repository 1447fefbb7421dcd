#pragma once
// Conversions between the register's UTF-8 texts and the bytes of its files:
// Windows-1252 (the code page of the systems the register serves) or UTF-8
// marked with a byte-order mark for texts that Windows-1252 cannot hold.
#include <optional>
#include <string>
#include <string_view>

namespace ombriel {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Windows-1252 bytes to UTF-8. Every byte converts; the five bytes the code
// page leaves unassigned map to the control characters of the same value, as
// the system's own conversion does, so they survive a round trip.
std::string Utf8FromCp1252(std::string_view bytes);

// UTF-8 to Windows-1252; std::nullopt when a character has no place in it.
std::optional<std::string> Cp1252FromUtf8(std::string_view utf8);

// Decodes UTF-8, replacing malformed sequences with U+FFFD, so the result is
// always well-formed.
std::string SanitizeUtf8(std::string_view bytes);

// The text of a stored file: UTF-8 when it starts with the byte-order mark
// (which is dropped), Windows-1252 otherwise.
std::string DecodeFileText(std::string_view bytes);

// The bytes to store text as: Windows-1252 when every character fits, else
// the byte-order mark followed by UTF-8.
std::string EncodeFileText(std::string_view utf8);

} // namespace ombriel
