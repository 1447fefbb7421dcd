// Measures the splitter's CRC-32 against zlib's crc32 over the same in-memory
// buffer in the same process, plus the byte-at-a-time reference loop, and
// reports GB/s (10^9 bytes per second, best of several rounds) and peak memory.
//   crc_bench [megabytes] [rounds]
#include "core/crc32.h"

#include <sys/resource.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double BestGBps(const std::function<uint32_t()>& run, size_t bytes, int rounds,
                uint32_t& result) {
    double best = 0;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        result = run();
        const double s = std::chrono::duration<double>(Clock::now() - t0).count();
        best = std::max(best, bytes / s / 1e9);
    }
    return best;
}
} // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const size_t size = megabytes << 20;
    std::vector<unsigned char> data(size + 64);
    std::mt19937_64 rng(20118);
    for (auto& b : data)
        b = static_cast<unsigned char>(rng());
    Crc32InitTable();

    std::printf("buffer %zu MiB, best of %d rounds\n", megabytes, rounds);
    for (size_t offset : {size_t{0}, size_t{3}}) {
        const unsigned char* p = data.data() + offset;
        uint32_t ours = 0, zlibs = 0, ours512 = 0, zlib512 = 0;
        const double gOurs =
            BestGBps([&] { return ~Crc32Update(p, size, 1); }, size, rounds, ours);
        const double gZlib = BestGBps(
            [&] { return static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(size))); }, size,
            rounds, zlibs);
        // The way the programs feed it: blocks of 512,000 bytes.
        const double gOurs512 = BestGBps(
            [&] {
                Crc32Update(p, 0, 1);
                for (size_t at = 0; at < size; at += 512000)
                    Crc32Update(p + at, std::min<size_t>(512000, size - at), 0);
                return ~CrcRegister;
            },
            size, rounds, ours512);
        const double gZlib512 = BestGBps(
            [&] {
                uLong c = crc32(0, nullptr, 0);
                for (size_t at = 0; at < size; at += 512000)
                    c = crc32(c, p + at, static_cast<uInt>(std::min<size_t>(512000, size - at)));
                return static_cast<uint32_t>(c);
            },
            size, rounds, zlib512);
        std::printf("offset %zu  Zelbrin %.2f GB/s  zlib %.2f GB/s  | 512,000-byte blocks: "
                    "Zelbrin %.2f GB/s  zlib %.2f GB/s  %s\n",
                    offset, gOurs, gZlib, gOurs512, gZlib512,
                    ours == zlibs && ours512 == zlib512 && ours == ours512 ? "same value"
                                                                            : "VALUES DIFFER");
    }
    const size_t small = std::min<size_t>(size, 64u << 20);
    uint32_t slow = 0;
    const double gSlow = BestGBps(
        [&] { return ~Crc32UpdateBytewise(0xFFFFFFFFu, data.data(), small); }, small, 1, slow);
    std::printf("byte-at-a-time reference %.2f GB/s\n", gSlow);
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("peak resident memory %ld MiB (buffer %zu MiB)\n", ru.ru_maxrss / 1024, megabytes);
    return 0;
}
