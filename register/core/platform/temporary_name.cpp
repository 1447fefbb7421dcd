#include "core/platform/temporary_name.h"

#include <atomic>
#include <string>

namespace ombriel {

std::filesystem::path TemporaryNameFor(const std::filesystem::path& file) {
    static std::atomic<uint64_t> count{0};
    std::string tail = ".";
    tail += std::to_string(ThisProcessNumber());
    tail += '-';
    tail += std::to_string(++count);
    tail += kTemporarySuffix;
    std::filesystem::path name = file;
    name += tail;
    return name;
}

} // namespace ombriel
