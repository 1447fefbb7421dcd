#pragma once
// The checksum file that a split leaves beside its pieces: exactly four bytes,
// the CRC-32 of the source as an unsigned little-endian number. A stored 0
// means "no checksum".
#include <cstdint>
#include <filesystem>
#include <functional>

namespace zelbrin {

// The piece base with ".CRC" appended.
std::filesystem::path ChecksumPath(const std::filesystem::path& pieceBase);

// Writes crc into the checksum file of the piece base, replacing any existing
// file. Returns 0, or the system's error code when it could not be written.
int WriteChecksumFile(const std::filesystem::path& pieceBase, uint32_t crc);

enum class ChecksumFileState {
    Missing, // the file cannot be opened: there is no checksum
    Stored,  // four bytes were read (a stored 0 still means "no checksum")
    Damaged, // the file exists but is shorter than four bytes
};

struct StoredChecksum {
    ChecksumFileState state = ChecksumFileState::Missing;
    uint32_t value = 0; // 0 unless state is Stored

    // True when a joined file has to be compared with value.
    bool HasChecksum() const { return state == ChecksumFileState::Stored && value != 0; }
};

StoredChecksum ReadChecksumFile(const std::filesystem::path& name);

// Asked before each block of a long reading: true ends it early.
using StopCheck = std::function<bool()>;

// CRC-32 of the whole file as stored, read through views of it in the
// system's cache, or in blocks of 512,000 bytes where it cannot be mapped
// (core/files/sequential_reader.h); a stop is looked for every 512,000
// bytes. A file that cannot be opened gives 0xFFFFFFFF, which differs from
// any stored checksum; a read error ends the reading and the bytes read so
// far count; so does a stop, whose caller then has no use for the value.
uint32_t ChecksumOfFile(const std::filesystem::path& name, const StopCheck& stop = {});

// The rule a join applies once its output is closed: true when the set carries
// a checksum the joined file does not match, or a checksum file too short to
// hold one (a damaged checksum must not pass as success).
bool JoinedFileHasCrcError(const std::filesystem::path& checksumFile,
                           const std::filesystem::path& joinedFile, const StopCheck& stop = {});

} // namespace zelbrin
