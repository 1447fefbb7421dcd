#include "support/testing/files.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace support::testing {

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return "<cannot read>";
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    if (file.has_parent_path())
        MakeFolders(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

void MakeFolders(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
}

void RemoveTree(const std::filesystem::path& folder) {
    std::error_code ec;
    // A test may have taken the rights away to provoke a failure.
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(folder, ec);
}

} // namespace support::testing
