#include "core/naming/piece_names.h"

#include "support/text.h"

#include <string>

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
    const native_string stem = name;
    const auto underscore = name.rfind('_');
    if (underscore != native_string::npos)
        name[underscore] = '.';
    // A split of a file named "_" or "._" has pieces "_.1" / "._.1"; turning
    // their underscore back would name the target folder itself ("." or
    // ".."), so such a set keeps its stem as the name.
    if (name == Native(".") || name == Native(".."))
        return stem;
    return name;
}

std::optional<JoinNames> DeriveJoinNames(const fs::path& source, const fs::path& targetFolder) {
    if (!IsFirstPiece(source))
        return std::nullopt;
    JoinNames names;
    native_string file = source.filename().native();
    file.pop_back(); // the "1"; the dot stays
    if (file == Native("."))
        return std::nullopt;
    names.sourceFolder = source.parent_path();
    names.stemWithDot = file;
    names.checksumPath = names.sourceFolder / (file + Native("CRC"));
    names.outputName = OutputNameFromStem(names.stemWithDot);
    names.outputPath = targetFolder / names.outputName;
    return names;
}

} // namespace zelbrin
