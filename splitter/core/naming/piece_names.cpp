#include "core/naming/piece_names.h"

#include "support/text.h"

#include <string>
#include <string_view>
#include <type_traits>

namespace zelbrin {

namespace fs = std::filesystem;
using native_string = fs::path::string_type;

namespace {
native_string Native(const char* ascii) {
    native_string out;
    while (*ascii)
        out.push_back(static_cast<fs::path::value_type>(*ascii++));
    return out;
}

bool EndsWith(const native_string& text, const native_string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

fs::path::value_type Upper(fs::path::value_type c) {
    return c >= 'a' && c <= 'z' ? static_cast<fs::path::value_type>(c - 'a' + 'A') : c;
}

// Windows opens the device, not a file, for these names, whatever follows
// the first dot and however the letters are cased ("con", "AUX.txt",
// "nul .doc"); the superscript digits count as digits there too.
bool IsDeviceName(const native_string& name) {
    native_string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (auto& c : base)
        c = Upper(c);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (base == Native(device))
            return true;
    if (base.size() < 4)
        return false;
    const native_string head = base.substr(0, 3);
    if (head != Native("COM") && head != Native("LPT"))
        return false;
    const native_string digit = base.substr(3);
    if (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9')
        return true;
    // ¹ ² ³, one UTF-16 unit on Windows, two UTF-8 bytes elsewhere.
    using unit = std::make_unsigned_t<fs::path::value_type>;
    const auto isSuperscript = [](unit u) { return u == 0xB9 || u == 0xB2 || u == 0xB3; };
    if constexpr (sizeof(unit) == 2)
        return digit.size() == 1 && isSuperscript(static_cast<unit>(digit[0]));
    else
        return digit.size() == 2 && static_cast<unit>(digit[0]) == 0xC2 &&
               isSuperscript(static_cast<unit>(digit[1]));
}
} // namespace

std::string ReplaceLastDot(std::string name) {
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        name[dot] = '_';
    return name;
}

fs::path MakePieceBase(const fs::path& source, const fs::path& target) {
    return target / support::PathFromUtf8(ReplaceLastDot(support::Utf8FromPath(source.filename())));
}

fs::path MakePieceName(const fs::path& base, uint64_t number) {
    fs::path name = base;
    name += ".";
    name += std::to_string(number);
    return name;
}

fs::path JoinNames::PiecePath(uint64_t n) const {
    return sourceFolder / (stemWithDot.native() + Native(std::to_string(n).c_str()));
}

bool IsFirstPiece(const fs::path& source) {
    return EndsWith(source.filename().native(), Native(".1"));
}

fs::path OutputNameFromStem(const fs::path& stemWithDot) {
    native_string name = stemWithDot.native();
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    const auto underscore = name.rfind('_');
    if (underscore != native_string::npos)
        name[underscore] = '.';
    return name;
}

bool IsUsableOutputName(const fs::path& name) {
    const native_string& text = name.native();
    if (text.empty() || text == Native(".") || text == Native(".."))
        return false;
    // Windows drops a trailing dot or space from a name, so the joined file
    // would land under another name than the one confirmed.
    if (text.back() == '.' || text.back() == ' ')
        return false;
    return !IsDeviceName(text);
}

std::optional<JoinNames> DeriveJoinNames(const fs::path& source, const fs::path& targetFolder) {
    if (!IsFirstPiece(source))
        return std::nullopt;
    JoinNames names;
    native_string file = source.filename().native();
    file.pop_back(); // the "1"; the dot stays
    names.sourceFolder = source.parent_path();
    names.stemWithDot = file;
    names.checksumPath = names.sourceFolder / (file + Native("CRC"));
    names.outputName = OutputNameFromStem(names.stemWithDot);
    if (!IsUsableOutputName(names.outputName))
        return std::nullopt;
    names.outputPath = targetFolder / names.outputName;
    return names;
}

} // namespace zelbrin
