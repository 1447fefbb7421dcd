#include "core/checksum/checksum_file.h"

#include "core/checksum/crc32.h"
#include "core/files/file_io.h"
#include "core/files/sequential_reader.h"

namespace zelbrin {
namespace {
// The bytes checksummed between two looks at a stop, and the block of a
// file read rather than mapped.
constexpr size_t kBlockBytes = 512000;
} // namespace

std::filesystem::path ChecksumPath(const std::filesystem::path& pieceBase) {
    std::filesystem::path name = pieceBase;
    name += ".CRC";
    return name;
}

int WriteChecksumFile(const std::filesystem::path& pieceBase, uint32_t crc) {
    File file;
    if (!file.Open(ChecksumPath(pieceBase), FileAccess::Write, FileShare::Write,
                   FileDisposition::CreateAlways))
        return file.LastError();
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(crc), static_cast<unsigned char>(crc >> 8),
        static_cast<unsigned char>(crc >> 16), static_cast<unsigned char>(crc >> 24)};
    if (!file.Write(bytes, sizeof bytes) || !file.Close())
        return file.LastError();
    return 0;
}

StoredChecksum ReadChecksumFile(const std::filesystem::path& name) {
    File file;
    if (!file.Open(name, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting))
        return {};
    unsigned char bytes[4];
    size_t got = 0;
    if (!file.Read(bytes, sizeof bytes, got) || got != sizeof bytes)
        return {ChecksumFileState::Damaged, 0};
    const uint32_t value = bytes[0] | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) |
                           (uint32_t{bytes[3]} << 24);
    return {ChecksumFileState::Stored, value};
}

uint32_t ChecksumOfFile(const std::filesystem::path& name, const StopCheck& stop) {
    File file;
    if (!file.Open(name, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting))
        return 0xFFFFFFFFu;
    Crc32 crc;
    // A failed read ends the pass: the bytes read so far are compared.
    SequentialReader reader(file, name, kBlockBytes);
    while (!(stop && stop())) {
        const std::span<const unsigned char> stretch = reader.Next();
        if (stretch.empty())
            break;
        crc.Update(stretch.data(), stretch.size());
    }
    return crc.Value();
}

bool JoinedFileHasCrcError(const std::filesystem::path& checksumFile,
                           const std::filesystem::path& joinedFile, const StopCheck& stop) {
    const StoredChecksum stored = ReadChecksumFile(checksumFile);
    if (stored.state == ChecksumFileState::Damaged)
        return true;
    if (!stored.HasChecksum())
        return false;
    return ChecksumOfFile(joinedFile, stop) != stored.value;
}

} // namespace zelbrin
