#pragma once
// The operating-system services the register's core needs, behind one small
// interface so the core stays portable and tests can stand in for the system.
// Texts are UTF-8; failures carry the system's error number and description.
#include "core/platform/error.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ombriel {

class Platform {
  public:
    virtual ~Platform() = default;

    // Reads at most limit bytes from the start of file into bytes.
    virtual Error ReadFileHead(const std::filesystem::path& file, size_t limit,
                               std::string& bytes) = 0;
    // Replaces file with bytes in one step: the data goes to a temporary file
    // beside it first (one of this writer's own, see temporary_name.h), so a
    // failed or cut-short write leaves the old file as it was.
    virtual Error WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes) = 0;
    // Creates file with bytes in one step, only if no file of that name
    // exists: the test and the creation are one system call, so of several
    // processes creating the same file at once exactly one succeeds and the
    // others fail with kErrAlreadyExists, writing nothing. The data, too,
    // goes to a temporary file first: the file appears whole or not at all.
    virtual Error WriteFileNew(const std::filesystem::path& file, std::string_view bytes) = 0;
    // Names (UTF-8, without folder) of the ordinary files of folder that match
    // the wildcard pattern: no folders, no hidden or system files. A missing
    // folder yields no names and no failure.
    virtual Error ListFiles(const std::filesystem::path& folder, std::string_view pattern,
                            std::vector<std::string>& names) = 0;
    // A byte string whose plain byte order is the user's locale-aware,
    // case-insensitive order of texts.
    virtual std::string SortKey(std::string_view text) = 0;
    // The system's description of an error number, in the user's language.
    virtual std::string Describe(uint32_t number) = 0;

    Error MakeError(uint32_t number) { return Error{number, Describe(number)}; }
};

// The services of the system the program runs on.
Platform& SystemPlatform();

} // namespace ombriel
