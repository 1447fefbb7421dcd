#pragma once
// Names of the temporary files a write fills before it gives the data its
// real name: the file's own name, the writing process's number and a count,
// then ".tmp~". One register is shared by several PCs, so two writers of the
// same file must never fill one temporary file: the process number keeps the
// writers of one PC apart, and each temporary file is created only if absent,
// so a writer of another PC that runs under the same number takes the next
// name. No such name ends in ".dat": the record list never shows one, and a
// leftover one (of a write a crash cut short) never stands in a later write's
// way.
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace ombriel {

inline constexpr std::string_view kTemporarySuffix = ".tmp~";
// Names a writer tries before it gives up: only files left by crashed
// writers of the same process number can take them.
inline constexpr int kTemporaryNameTries = 100;

// A name for a temporary file beside file, a new one on every call.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& file);

// The system's number of the running process (defined per system).
uint32_t ThisProcessNumber();

} // namespace ombriel
