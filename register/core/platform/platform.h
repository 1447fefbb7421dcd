#pragma once
// The operating-system services the register's core needs, behind one small
// interface so the core stays portable and tests can stand in for the system.
// Texts are UTF-8; failures carry the system's error number and description.
#include "core/platform/error.h"
#include "core/platform/folder_listing.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ombriel {

// Ticks per second of write times and of Platform::Now: 100 ns, counted from
// 1601-01-01 UTC, as Windows keeps them.
inline constexpr int64_t kTicksPerSecond = 10'000'000;

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
    // The same for data made as it is written, too large to hold at once:
    // `write` hands its pieces in turn to the function it is given, which
    // returns false once the file cannot take them (write stops there and
    // the file stays as it was). By default the pieces are gathered first.
    using PieceSink = std::function<bool(std::string_view piece)>;
    virtual Error WriteFileAtomicInPieces(const std::filesystem::path& file,
                                          const std::function<void(const PieceSink&)>& write) {
        std::string bytes;
        write([&](std::string_view piece) {
            bytes.append(piece);
            return true;
        });
        return WriteFileAtomic(file, bytes);
    }
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
    // Every ordinary file of folder (no folders, no hidden or system files)
    // with its size and last-write time, in one pass over the folder. A
    // missing folder in a reachable parent yields no files and no failure;
    // any other failure (the folder cannot be listed, its parent cannot be
    // reached) is returned and files is left empty.
    virtual Error ListFolder(const std::filesystem::path& folder, FolderListing& files) = 0;
    // The present moment, in the ticks of ListedFile::writeTime.
    virtual int64_t Now() = 0;
    // Deletes file, but only when no one holds it open: a writer still
    // filling it (in this or another process, on this or another PC) makes
    // the call fail, with kErrSharingViolation, and the file stays.
    virtual Error RemoveUnheldFile(const std::filesystem::path& file) = 0;
    // The user's own folder for data the program can always rebuild (on this
    // PC, never on a share); empty when the system names none.
    virtual std::filesystem::path LocalCacheFolder() = 0;
    // A byte string whose plain byte order is the user's locale-aware,
    // case-insensitive order of texts.
    virtual std::string SortKey(std::string_view text) = 0;
    // Appends SortKey(text) to keys, where many keys are kept in one string.
    virtual void AppendSortKey(std::string_view text, std::string& keys) { keys += SortKey(text); }
    // The system's description of an error number, in the user's language.
    virtual std::string Describe(uint32_t number) = 0;

    Error MakeError(uint32_t number) { return Error{number, Describe(number)}; }
};

// The services of the system the program runs on.
Platform& SystemPlatform();

} // namespace ombriel
