#pragma once
#include <cstdint>
#include <filesystem>

namespace ombriel {

// Moves a file to another drive: copies it, and removes the original only
// once the copy is complete. On any failure the original stays and no
// partial copy is left. Returns 0 (ERROR_SUCCESS) or the failure's number.
uint32_t MoveByCopy(const std::filesystem::path& source, const std::filesystem::path& target);

} // namespace ombriel
