#pragma once
// UTF-8 <-> UTF-16 at the Windows edge (wchar_t is UTF-16 there).
#include <string>
#include <string_view>

namespace ombriel {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

} // namespace ombriel
