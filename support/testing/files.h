#pragma once
// Whole files and folder trees for tests, at any path: on Windows through the
// extended path form, so a test reaches folders deeper than 260 characters
// that the standard streams and std::filesystem cannot.
#include <filesystem>
#include <string>
#include <string_view>

namespace support::testing {

// The whole content of a file; "<cannot read>" when it cannot be read, so a
// comparison with the expected bytes fails with a clear text.
std::string ReadBytes(const std::filesystem::path& file);
// Writes a whole file, making its folders first; throws when it cannot.
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
// Makes a folder and the folders above it; throws when it cannot.
void MakeFolders(const std::filesystem::path& folder);
// Removes a folder with everything in it, read-only files included.
void RemoveTree(const std::filesystem::path& folder);

} // namespace support::testing
