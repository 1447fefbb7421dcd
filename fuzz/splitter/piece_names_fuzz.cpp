// Piece naming in both directions for any file name: the pieces a split
// writes are the name with its last dot made '_', then ".n"; a join started
// from piece 1 finds the same pieces and checksum file, restores the name
// (checked against a plain restatement of the rule), gives back the source's
// name when its extension holds no '_', and refuses exactly the sets whose
// restored name Windows would not create as that file.
#include "../fuzz_check.h"
#include "core/files/file_io.h"
#include "core/naming/piece_names.h"
#include "core/split/split_plan.h"
#include "support/text.h"
#include "windows_name.h"

#include <cstring>

using namespace zelbrin;

namespace fs = std::filesystem;

namespace {
std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool Unusable(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ')
        return true;
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    base = Upper(base);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (base == device)
            return true;
    for (const char* port : {"COM", "LPT"})
        for (const char* digit :
             {"1", "2", "3", "4", "5", "6", "7", "8", "9", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"})
            if (base == std::string(port) + digit)
                return true;
    return false;
}

// The join's rule restated: drop the dot before "1", turn the last '_' back.
std::string Restored(std::string stemWithDot) {
    stemWithDot.pop_back();
    const size_t underscore = stemWithDot.rfind('_');
    if (underscore != std::string::npos)
        stemWithDot[underscore] = '.';
    return stemWithDot;
}

void CheckJoinOf(const fs::path& piece1) {
    const std::string file = support::Utf8FromPath(piece1.filename());
    FUZZ_CHECK(IsFirstPiece(piece1) == (file.size() >= 2 && file.ends_with(".1")));
    const auto names = DeriveJoinNames(piece1, "back");
    if (!IsFirstPiece(piece1)) {
        FUZZ_CHECK(!names);
        return;
    }
    const std::string stemWithDot = file.substr(0, file.size() - 1);
    const std::string restored = Restored(stemWithDot);
    FUZZ_CHECK(names.has_value() == !Unusable(restored));
    if (!names)
        return;
    FUZZ_CHECK(support::Utf8FromPath(names->outputName) == restored);
    FUZZ_CHECK(names->outputPath == fs::path("back") / names->outputName);
    FUZZ_CHECK(names->PiecePath(1) == piece1);
    FUZZ_CHECK(support::Utf8FromPath(names->PiecePath(12).filename()) == stemWithDot + "12");
    FUZZ_CHECK(names->checksumPath ==
               piece1.parent_path() / support::PathFromUtf8(stemWithDot + "CRC"));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    if (!IsWindowsFileName(name))
        return 0;
    const fs::path source = fs::path("in") / support::PathFromUtf8(name);

    // Split: the pieces of the source.
    const fs::path base = MakePieceBase(source, "out");
    std::string stem = name;
    if (const size_t dot = stem.rfind('.'); dot != std::string::npos)
        stem[dot] = '_';
    FUZZ_CHECK(base == fs::path("out") / support::PathFromUtf8(stem));
    const fs::path piece1 = MakePieceName(base, 1);
    FUZZ_CHECK(support::Utf8FromPath(piece1.filename()) == stem + ".1");
    FUZZ_CHECK(support::Utf8FromPath(MakePieceName(base, UINT64_MAX).filename()) ==
               stem + ".18446744073709551615");

    // Join from that first piece.
    CheckJoinOf(piece1);
    const auto names = DeriveJoinNames(piece1, "back");
    const size_t dot = name.rfind('.');
    if (names && dot != std::string::npos && name.find('_', dot) == std::string::npos)
        FUZZ_CHECK(support::Utf8FromPath(names->outputName) == name);

    // Join from any name the user may pick.
    CheckJoinOf(source);
    return 0;
}
