#include "core/checksum_file.h"

#include "core/crc32.h"
#include "core/file_io.h"

#include <vector>

namespace {
constexpr size_t kBlockBytes = 512000;
} // namespace

bool WriteChecksumFile(const std::filesystem::path& pieceBase) {
    std::filesystem::path name = pieceBase;
    name += ".CRC";
    File file;
    if (!file.Open(name, FileAccess::Write, FileShare::Write, FileDisposition::CreateAlways))
        return false;
    CrcRegister = ~CrcRegister;
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(CrcRegister), static_cast<unsigned char>(CrcRegister >> 8),
        static_cast<unsigned char>(CrcRegister >> 16), static_cast<unsigned char>(CrcRegister >> 24)};
    const bool written = file.Write(bytes, sizeof bytes);
    return file.Close() && written;
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

uint32_t ChecksumOfFile(const std::filesystem::path& name) {
    Crc32Update(nullptr, 0, 1);
    File file;
    if (!file.Open(name, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting))
        return CrcRegister; // 0xFFFFFFFF: differs from any stored checksum
    std::vector<unsigned char> block(kBlockBytes);
    for (;;) {
        size_t got = 0;
        // A failed read ends the pass: the bytes read so far are compared.
        if (!file.Read(block.data(), block.size(), got) || got == 0)
            break;
        Crc32Update(block.data(), got, 0);
        if (got < block.size())
            break;
    }
    CrcRegister = ~CrcRegister;
    return CrcRegister;
}

bool JoinedFileHasCrcError(const std::filesystem::path& checksumFile,
                           const std::filesystem::path& joinedFile) {
    const StoredChecksum stored = ReadChecksumFile(checksumFile);
    if (stored.state == ChecksumFileState::Damaged)
        return true;
    if (!stored.HasChecksum())
        return false;
    return ChecksumOfFile(joinedFile) != stored.value;
}
