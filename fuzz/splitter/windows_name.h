#pragma once
// The names a split's source can have: whatever a Windows file name may hold
// (well-formed UTF-8, as the file layer gives names; no control characters,
// none of < > : " / \ | ? *). Names outside that never reach the splitter.
#include "../fuzz_check.h"

#include <string>
#include <string_view>

inline bool IsWindowsFileName(std::string_view name) {
    if (name.empty() || !IsWellFormedUtf8(name))
        return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return false;
    return true;
}
