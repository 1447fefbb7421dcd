#include "support/text.h"

namespace support {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

void AppendWide(std::wstring& out, char32_t cp) {
    if (kWideIsUtf16 && cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (cp >> 10));
        out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        return;
    }
    out += static_cast<wchar_t>(cp);
}

// One code point of wide text at pos, moving pos past it.
char32_t NextWide(std::wstring_view s, size_t& pos) {
    const auto unit = static_cast<char32_t>(s[pos++]);
    if (kWideIsUtf16 && unit >= 0xD800 && unit <= 0xDBFF && pos < s.size()) {
        const auto low = static_cast<char32_t>(s[pos]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++pos;
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    if ((unit >= 0xD800 && unit <= 0xDFFF) || unit > 0x10FFFF)
        return kReplacement;
    return unit;
}

} // namespace

char32_t NextCodePoint(std::string_view s, size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, least = 0x10000;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= s.size() || (static_cast<unsigned char>(s[pos]) & 0xC0) != 0x80)
            return kReplacement;
        cp = (cp << 6) | (static_cast<unsigned char>(s[pos++]) & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return kReplacement;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::wstring Widen(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();)
        AppendWide(out, NextCodePoint(utf8, pos));
    return out;
}

void AppendNarrow(std::string& out, std::wstring_view wide) {
    for (size_t pos = 0; pos < wide.size();)
        AppendUtf8(out, NextWide(wide, pos));
}

std::string Narrow(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    AppendNarrow(out, wide);
    return out;
}

// A path is wide text on Windows and bytes elsewhere; neither conversion
// goes through the standard library's, which throws on a malformed name.
std::filesystem::path PathFromUtf8(std::string_view utf8) {
#ifdef _WIN32
    return std::filesystem::path(Widen(utf8));
#else
    return std::filesystem::path(std::string(utf8));
#endif
}

std::string Utf8FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return Narrow(path.native());
#else
    return path.native();
#endif
}

} // namespace support
