#pragma once
#include <windows.h>

#include <string>

namespace ombriel {

// Moves a file to another drive: copies it, and removes the original only
// once the copy is complete. On any failure the original stays
// and no partial copy is left. Returns ERROR_SUCCESS or the failure number.
DWORD MoveByCopy(const std::wstring& source, const std::wstring& target);

} // namespace ombriel
