// The .CRC reader on any file content: four bytes or more are a stored
// little-endian value (a 0 meaning no checksum), fewer are damaged and then
// always fail the join's check; and a value written reads back as written.
#include "../fuzz_check.h"
#include "core/checksum/checksum_file.h"
#include "core/checksum/crc32.h"
#include "core/files/file_io.h"

#include <fstream>
#include <random>

using namespace zelbrin;

namespace fs = std::filesystem;

namespace {
// One folder per process, removed at exit.
struct Scratch {
    fs::path folder =
        fs::temp_directory_path() / ("zelbrin-fuzz-" + std::to_string(std::random_device()()));
    Scratch() { fs::create_directories(folder); }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

void Write(const fs::path& file, const uint8_t* data, size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    FUZZ_CHECK(out.good());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Scratch scratch;
    const fs::path crc = scratch.folder / "set_doc.CRC";
    const fs::path joined = scratch.folder / "set.doc";
    Write(crc, data, size);
    Write(joined, data, size);

    const StoredChecksum stored = ReadChecksumFile(crc);
    if (size < 4) {
        FUZZ_CHECK(stored.state == ChecksumFileState::Damaged && stored.value == 0);
        FUZZ_CHECK(JoinedFileHasCrcError(crc, joined));
        return 0;
    }
    const uint32_t value = data[0] | (data[1] << 8) | (data[2] << 16) | (uint32_t(data[3]) << 24);
    FUZZ_CHECK(stored.state == ChecksumFileState::Stored && stored.value == value);
    FUZZ_CHECK(stored.HasChecksum() == (value != 0));
    // A stored 0 means no checksum: the join's check passes without reading
    // the joined file. (Comparing other values reads it through a 500 KB
    // buffer, too slow for every input; the join engine's tests cover it.)
    if (value == 0)
        FUZZ_CHECK(!JoinedFileHasCrcError(crc, joined));

    FUZZ_CHECK(WriteChecksumFile(scratch.folder / "set_doc", value) == 0);
    const StoredChecksum back = ReadChecksumFile(crc);
    FUZZ_CHECK(back.state == ChecksumFileState::Stored && back.value == value);
    return 0;
}
