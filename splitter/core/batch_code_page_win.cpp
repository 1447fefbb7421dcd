#include "core/join_batch.h"

#include <windows.h>

// cmd reads a batch file in the console's code page, the OEM code page of
// the system, not the ANSI one.
std::optional<std::string> ToBatchCodePage(const std::string& utf8) {
    if (utf8.empty())
        return std::string();
    const int wideLen = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                            static_cast<int>(utf8.size()), nullptr, 0);
    if (wideLen <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(wideLen), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        wideLen);
    const UINT oem = GetOEMCP();
    BOOL lossy = FALSE;
    const int len = WideCharToMultiByte(oem, WC_NO_BEST_FIT_CHARS, wide.data(), wideLen, nullptr,
                                        0, nullptr, &lossy);
    if (len <= 0 || lossy)
        return std::nullopt;
    std::string out(static_cast<size_t>(len), '\0');
    WideCharToMultiByte(oem, WC_NO_BEST_FIT_CHARS, wide.data(), wideLen, out.data(), len, nullptr,
                        &lossy);
    if (lossy)
        return std::nullopt;
    return out;
}
