#include "support/system_error.h"

#include "support/handles_win.h"
#include "support/text.h"

#include <windows.h>

namespace support {

std::string PlatformErrorText(uint32_t code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    // Owned before anything can throw.
    const UniqueLocalMemory<wchar_t*> owned(text);
    std::wstring wide = length && text ? std::wstring(text, length) : std::wstring();
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' '))
        wide.pop_back();
    return Narrow(wide);
}

} // namespace support
