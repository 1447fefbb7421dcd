#pragma once
// The owner of a POSIX file descriptor.
#include "support/unique_resource.h"

#include <unistd.h>

namespace support {

struct FdTraits {
    using Handle = int;
    static constexpr Handle kNone = -1;
    static bool Valid(Handle fd) { return fd >= 0; }
    static bool Close(Handle fd) { return ::close(fd) == 0; }
};
using UniqueFd = UniqueResource<FdTraits>;

} // namespace support
