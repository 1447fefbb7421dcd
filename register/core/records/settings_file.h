#pragma once
// "Ombriel.ini": the three viewer paths, three quoted lines (pdf, doc, xls).
#include "core/platform/error.h"
#include "core/platform/platform.h"

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

// Loads the paths from file. On a failure the paths read before it are set
// and the others keep their values; a file longer than kSettingsReadLimit
// fails with kErrFileTooLarge.
Error LoadSettings(Platform& platform, const std::filesystem::path& file, ViewerPaths& paths);
// Writes all three paths; a failed save leaves the previous file whole, and
// paths whose file would exceed kSettingsReadLimit are refused with
// kErrFileTooLarge, so whatever is saved loads back whole.
Error SaveSettings(Platform& platform, const std::filesystem::path& file, const ViewerPaths& paths);

} // namespace ombriel
