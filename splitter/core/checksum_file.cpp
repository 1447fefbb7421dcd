#include "core/checksum_file.h"

#include "core/crc32.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {
constexpr size_t kBlockBytes = 512000;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using StdioFile = std::unique_ptr<std::FILE, FileCloser>;

#ifdef _WIN32
// A path of MAX_PATH characters or more reaches the file system only in its
// extended form.
std::wstring ExtendedPath(const std::filesystem::path& name) {
    std::wstring text = name.wstring();
    if (text.size() < 260 || !name.is_absolute() || text.starts_with(L"\\\\?\\"))
        return text;
    // The extended form takes the path literally: no "." or ".." resolved.
    text = name.lexically_normal().wstring();
    for (auto& c : text) {
        if (c == L'/')
            c = L'\\';
    }
    if (text.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + text.substr(2);
    return L"\\\\?\\" + text;
}
#endif

// Opens by the native path so names in any script reach the system intact.
StdioFile OpenFile(const std::filesystem::path& name, bool write) {
#ifdef _WIN32
    return StdioFile(_wfopen(ExtendedPath(name).c_str(), write ? L"wb" : L"rb"));
#else
    return StdioFile(std::fopen(name.c_str(), write ? "wb" : "rb"));
#endif
}
} // namespace

bool WriteChecksumFile(const std::filesystem::path& pieceBase) {
    std::filesystem::path name = pieceBase;
    name += ".CRC";
    StdioFile file = OpenFile(name, true);
    if (!file)
        return false;
    CrcRegister = ~CrcRegister;
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(CrcRegister), static_cast<unsigned char>(CrcRegister >> 8),
        static_cast<unsigned char>(CrcRegister >> 16), static_cast<unsigned char>(CrcRegister >> 24)};
    const bool written = std::fwrite(bytes, 1, 4, file.get()) == 4;
    return std::fclose(file.release()) == 0 && written;
}

StoredChecksum ReadChecksumFile(const std::filesystem::path& name) {
    StdioFile file = OpenFile(name, false);
    if (!file)
        return {};
    unsigned char bytes[4];
    if (std::fread(bytes, 1, 4, file.get()) != 4)
        return {ChecksumFileState::Damaged, 0};
    const uint32_t value = bytes[0] | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) |
                           (uint32_t{bytes[3]} << 24);
    return {ChecksumFileState::Stored, value};
}

uint32_t ChecksumOfFile(const std::filesystem::path& name) {
    Crc32Update(nullptr, 0, 1);
    StdioFile file = OpenFile(name, false);
    if (!file)
        return CrcRegister; // 0xFFFFFFFF: differs from any stored checksum
    std::vector<unsigned char> block(kBlockBytes);
    for (;;) {
        const size_t got = std::fread(block.data(), 1, block.size(), file.get());
        if (got == 0)
            break;
        Crc32Update(block.data(), got, 0);
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
