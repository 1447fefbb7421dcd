#include "support/code_page_win.h"

#include <windows.h>

namespace support {

std::optional<std::string> ToCodePage(CodePage page, std::wstring_view text) {
    if (text.empty())
        return std::string();
    const UINT cp = page == CodePage::Ansi ? CP_ACP : CP_OEMCP;
    const int length = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0,
                                         nullptr, &lossy);
    if (size <= 0 || lossy)
        return std::nullopt;
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, text.data(), length, out.data(), size, nullptr,
                        &lossy);
    if (lossy)
        return std::nullopt;
    return out;
}

} // namespace support
