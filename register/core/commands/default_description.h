#pragma once
#include <string>
#include <string_view>

namespace ombriel {

// The description the add commands offer for a document's bare name: the name
// without its last four characters (the dot and a three-letter extension).
// A name shorter than that gives the name without its extension, or the whole
// name when it has no dot.
std::string DefaultDescription(std::string_view bareName);

} // namespace ombriel
