#pragma once
// "Ombriel.ini": the three viewer paths, three quoted lines (pdf, doc, xls).
#include "core/error.h"
#include "core/platform.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace ombriel {

inline constexpr std::string_view kSettingsFileName = "Ombriel.ini";
inline constexpr size_t kSettingsReadLimit = 1024 * 1024;

struct ViewerPaths {
    std::string PathAR;  // pdf
    std::string PathWrd; // doc
    std::string PathExc; // xls
};

// "carica" loads the paths from file; any other mode ("salva") writes them.
// On a failed load the paths read before it are set and the others keep their
// values; a file longer than kSettingsReadLimit fails with kErrFileTooLarge.
// A failed save leaves the previous file whole; paths whose file would exceed
// that limit are refused with kErrFileTooLarge.
Error LoadSaveSettings(Platform& platform, const std::filesystem::path& file, std::string_view mode,
                       ViewerPaths& paths);

} // namespace ombriel
