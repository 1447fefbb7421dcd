#pragma once
// How the pieces of a split are named, both ways. Split: the source file name
// with its last dot made an underscore is the stem; piece n is stem + "." + n
// (n from 1, decimal, no leading zeros) in the target folder, beside the
// checksum file stem + ".CRC". Join: from piece 1 back to the stem, the other
// pieces, the checksum file and the source's name.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zelbrin {

// Replaces the last '.' by '_'; a text without a dot stays unchanged.
std::string ReplaceLastDot(std::string name);

// target folder / source file name with its last dot made an underscore.
std::filesystem::path MakePieceBase(const std::filesystem::path& source,
                                    const std::filesystem::path& target);
// base + "." + number, without leading zeros.
std::filesystem::path MakePieceName(const std::filesystem::path& base, uint64_t number);

// Everything a join derives from the first piece of a set.
struct JoinNames {
    std::filesystem::path sourceFolder; // folder of the pieces
    std::filesystem::path stemWithDot;  // "report_doc."
    std::filesystem::path outputName;   // "report.doc"
    std::filesystem::path outputPath;   // target folder / outputName
    std::filesystem::path checksumPath; // sourceFolder / "report_doc.CRC"

    std::filesystem::path PiecePath(uint64_t n) const;
};

// True when the chosen source names piece 1 of a set: its name ends in ".1".
// Only those two characters count, so "x.11" and "x.21" are refused.
bool IsFirstPiece(const std::filesystem::path& source);

// "report_doc." -> "report.doc"; "README." -> "README";
// "my_notes_v2_txt." -> "my_notes_v2.txt".
std::filesystem::path OutputNameFromStem(const std::filesystem::path& stemWithDot);

// False for a restored name that Windows would not create as that file: empty,
// "." or "..", ending in a dot or a space, or a device name ("CON", "NUL",
// "COM1", "AUX.txt", ...).
bool IsUsableOutputName(const std::filesystem::path& name);

// Everything derived from the source and the target folder, or nothing when
// the source is not the first piece of a set whose restored name is usable
// ("x.11"; ".1", whose set has no name at all; "..1", which would restore as
// the folder "."; "CON_txt.1").
std::optional<JoinNames> DeriveJoinNames(const std::filesystem::path& source,
                                         const std::filesystem::path& targetFolder);

} // namespace zelbrin
