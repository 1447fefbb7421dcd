#include "core/records/text_codec.h"

#include "support/text.h"

namespace ombriel {
namespace {

using support::AppendUtf8;
using support::NextCodePoint;

// Code points of bytes 0x80..0x9F; 0 marks the unassigned ones, which keep
// their own value.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t Cp1252ToCodePoint(unsigned char b) {
    if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0) {
        return kHigh[b - 0x80];
    }
    return b;
}

std::optional<char> CodePointToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (int i = 0; i < 32; ++i) {
        char32_t mapped = kHigh[i] != 0 ? kHigh[i] : char32_t(0x80 + i);
        if (mapped == cp) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

} // namespace

std::string Utf8FromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::optional<std::string> Cp1252FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        const size_t at = pos;
        char32_t cp = NextCodePoint(utf8, pos);
        if (cp == 0xFFFD && utf8.substr(at, 3) != "\xEF\xBF\xBD") {
            return std::nullopt; // malformed input cannot be stored faithfully
        }
        auto b = CodePointToCp1252(cp);
        if (!b) {
            return std::nullopt;
        }
        out += *b;
    }
    return out;
}

std::string SanitizeUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t pos = 0; pos < bytes.size();) {
        AppendUtf8(out, NextCodePoint(bytes, pos));
    }
    return out;
}

std::string DecodeFileText(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        return SanitizeUtf8(bytes.substr(kUtf8Bom.size()));
    }
    return Utf8FromCp1252(bytes);
}

std::string EncodeFileText(std::string_view utf8) {
    if (auto narrow = Cp1252FromUtf8(utf8)) {
        return *narrow;
    }
    std::string out(kUtf8Bom);
    out += SanitizeUtf8(utf8);
    return out;
}

} // namespace ombriel
