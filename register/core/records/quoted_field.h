#pragma once
// The quoted-line field syntax of the record and settings files: one field
// per line, a double quote, the text, a double quote, CR LF. A double quote
// inside a text is written doubled so that it reads back whole; texts without
// one are stored exactly as the plain syntax has them.
#include <string>
#include <string_view>
#include <vector>

namespace ombriel {

// Reads up to maxFields fields from decoded text (UTF-8). Fields are separated
// by line ends or commas; leading blanks are skipped; a quoted field is the
// text up to its closing quote (a doubled quote inside stands for one), and
// what follows it up to the next comma or line end is passed over; an
// unquoted field ends at the next comma or line end. Fewer fields than asked
// for are returned when the text ends first.
std::vector<std::string> ReadFields(std::string_view text, size_t maxFields);

// One field as a stored line: quotes, text with inner quotes doubled, CR LF.
std::string FormatField(std::string_view text);

// The whole file content for fields, encoded for storage (Windows-1252 when
// every text fits, otherwise UTF-8 with a byte-order mark).
std::string EncodeFieldFile(const std::vector<std::string>& fields);

// Reads up to maxFields fields from stored bytes of either encoding.
std::vector<std::string> DecodeFieldFile(std::string_view bytes, size_t maxFields);

} // namespace ombriel
