#pragma once
// File contents for the splitter's tests: a repeatable pattern, and random
// bytes from a seed.
#include <cstdint>
#include <random>
#include <string>

namespace zelbrin::testing {

// Bytes whose value depends on their offset, so a misplaced block shows.
inline std::string Pattern(size_t size) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    return s;
}

inline std::string RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    std::string out(n, '\0');
    for (auto& c : out)
        c = static_cast<char>(gen());
    return out;
}

} // namespace zelbrin::testing
