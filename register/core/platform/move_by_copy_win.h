#pragma once
#include <cstdint>
#include <filesystem>

namespace ombriel {

// Moves a file to another drive: copies it to a temporary name beside the
// target, gives the copy the target's name once it is complete (never
// replacing a file there), and only then removes the original. On any
// failure the original stays and no copy is left under the target's name.
// Returns 0 (ERROR_SUCCESS) or the failure's number.
uint32_t MoveByCopy(const std::filesystem::path& source, const std::filesystem::path& target);

} // namespace ombriel
