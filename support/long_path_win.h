#pragma once
// Paths beyond MAX_PATH work with the file functions only in their extended
// "\\?\" form, whatever the system's long-path setting.
#include <filesystem>
#include <string>

namespace support {

// The absolute form of path with the \\?\ prefix (\\?\UNC\ for a share), or
// the path unchanged when it already has one or is empty.
std::wstring ExtendedPath(const std::filesystem::path& path);

// The absolute form of path as the system resolves it against the current
// folder, or path unchanged when the system cannot resolve it.
std::wstring FullPath(const std::wstring& path);

} // namespace support
