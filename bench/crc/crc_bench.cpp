// Measures the splitter's CRC-32 against zlib's crc32 over the same in-memory
// buffer in the same process, plus the byte-at-a-time reference loop, and
// reports GB/s (10^9 bytes per second, best of several rounds) and peak memory.
//   crc_bench [megabytes] [rounds]
#include "core/checksum/crc32.h"

#include <sys/resource.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

struct Contender {
    const char* name;
    std::function<uint32_t()> run;
    double best = 0;
    uint32_t value = 0;
};

// Rounds alternate between the contenders, so a busy moment on a shared
// machine costs each of them alike; the best round counts.
void Race(std::vector<Contender>& field, size_t bytes, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        for (auto& c : field) {
            const auto t0 = Clock::now();
            c.value = c.run();
            const double s = std::chrono::duration<double>(Clock::now() - t0).count();
            c.best = std::max(c.best, bytes / s / 1e9);
        }
    }
}
} // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 9;
    const size_t size = megabytes << 20;
    std::vector<unsigned char> data(size + 64);
    std::mt19937_64 rng(20118);
    for (auto& b : data)
        b = static_cast<unsigned char>(rng());

    std::printf("buffer %zu MiB, best of %d rounds\n", megabytes, rounds);
    for (size_t offset : {size_t{0}, size_t{3}}) {
        const unsigned char* p = data.data() + offset;
        std::vector<Contender> field = {
            {"Zelbrin", [&] { return zelbrin::Crc32Of(p, size); }},
            {"zlib", [&] { return static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(size))); }},
            // The way the programs feed it: blocks of 512,000 bytes.
            {"Zelbrin 512,000-byte blocks",
             [&] {
                 zelbrin::Crc32 crc;
                 for (size_t at = 0; at < size; at += 512000)
                     crc.Update(p + at, std::min<size_t>(512000, size - at));
                 return crc.Value();
             }},
            {"zlib 512,000-byte blocks",
             [&] {
                 uLong c = crc32(0, nullptr, 0);
                 for (size_t at = 0; at < size; at += 512000)
                     c = crc32(c, p + at, static_cast<uInt>(std::min<size_t>(512000, size - at)));
                 return static_cast<uint32_t>(c);
             }},
        };
        Race(field, size, rounds);
        bool same = true;
        for (const auto& c : field) {
            same = same && c.value == field[0].value;
            std::printf("offset %zu  %-28s %6.2f GB/s\n", offset, c.name, c.best);
        }
        std::printf("offset %zu  ratio Zelbrin/zlib %.2f (whole buffer), %.2f (blocks); %s\n",
                    offset, field[0].best / field[1].best, field[2].best / field[3].best,
                    same ? "all values equal" : "VALUES DIFFER");
    }
    const size_t small = std::min<size_t>(size, 64u << 20);
    std::vector<Contender> slow = {
        {"byte-at-a-time reference",
         [&] { return ~zelbrin::Crc32UpdateBytewise(0xFFFFFFFFu, data.data(), small); }}};
    Race(slow, small, 1);
    std::printf("%-38s %6.2f GB/s\n", slow[0].name, slow[0].best);
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("peak resident memory %ld MiB (buffer %zu MiB)\n", ru.ru_maxrss / 1024, megabytes);
    return 0;
}
