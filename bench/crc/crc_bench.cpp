// Measures each of the splitter's CRC-32 paths (slicing tables, PCLMULQDQ,
// AVX-512) against zlib's crc32 and ISA-L's crc32_gzip_refl over the same
// in-memory buffer in the same process, plus the byte-at-a-time reference
// loop, and reports GB/s (10^9 bytes per second, best of several rounds) and
// peak memory. Each contender runs on the whole buffer in one call and in
// the 512,000-byte blocks the programs feed it.
//   crc_bench [megabytes] [rounds] [only: contenders whose name holds this]
#include "core/checksum/crc32.h"

#include <sys/resource.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#ifdef BENCH_WITH_ISAL
#include <isa-l/crc.h>
// Exported by the library without a declaration in its header: the
// dispatcher's individual paths, so each of ours meets its like.
extern "C" {
uint32_t crc32_gzip_refl_by8(uint32_t, const unsigned char*, uint64_t);     // PCLMULQDQ, SSE
uint32_t crc32_gzip_refl_by8_02(uint32_t, const unsigned char*, uint64_t);  // PCLMULQDQ, AVX
uint32_t crc32_gzip_refl_by16_10(uint32_t, const unsigned char*, uint64_t); // VPCLMULQDQ, AVX-512
}
#endif

namespace {
using Clock = std::chrono::steady_clock;

// A contender that leaves the upper halves of the vector registers in use
// (ISA-L's AVX-512 path does) slows every legacy-SSE instruction after it
// on this processor, the next contender's included. Each one starts from
// clean registers, as in a program that uses only one of them.
#if defined(__x86_64__)
__attribute__((target("avx"))) void ZeroUpperHalves() {
    __builtin_ia32_vzeroupper();
}
void StartClean() {
    if (__builtin_cpu_supports("avx"))
        ZeroUpperHalves();
}
#else
void StartClean() {}
#endif
constexpr size_t kBlock = 512000;

// One way of computing the CRC-32: continues `crc` (a finished value, 0 at
// the start) over the bytes.
using CrcFunction = std::function<uint32_t(uint32_t crc, const unsigned char*, size_t)>;

struct Contender {
    std::string name;
    CrcFunction run;
    double whole = 0, blocks = 0, hot = 0;                  // best GB/s
    uint32_t wholeValue = 0, blocksValue = 0, hotValue = 0; // hotValue keeps that loop
};

CrcFunction Ours(zelbrin::Crc32Path path) {
    // Zelbrin keeps its register between calls; a bench call is one stream.
    return [path](uint32_t, const unsigned char* p, size_t n) {
        zelbrin::Crc32 crc(path);
        crc.Update(p, n);
        return crc.Value();
    };
}

double Seconds(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Rounds alternate between the contenders, so a busy moment on a shared
// machine costs each of them alike; the best round counts.
void Race(std::vector<Contender>& field, const unsigned char* p, size_t bytes, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        for (auto& c : field) {
            StartClean();
            auto t0 = Clock::now();
            c.wholeValue = c.run(0, p, bytes);
            c.whole = std::max(c.whole, bytes / Seconds(t0) / 1e9);
            StartClean();
            t0 = Clock::now();
            uint32_t crc = 0;
            if (c.name.rfind("Zelbrin", 0) == 0) {
                // The programs' own way: one value fed block after block.
                zelbrin::Crc32 value(c.name == "Zelbrin slicing"  ? zelbrin::Crc32Path::Slicing
                                     : c.name == "Zelbrin PCLMUL" ? zelbrin::Crc32Path::Pclmul
                                                                  : zelbrin::Crc32Path::Avx512);
                for (size_t at = 0; at < bytes; at += kBlock)
                    value.Update(p + at, std::min(kBlock, bytes - at));
                crc = value.Value();
            } else {
                for (size_t at = 0; at < bytes; at += kBlock)
                    crc = c.run(crc, p + at, std::min(kBlock, bytes - at));
            }
            c.blocks = std::max(c.blocks, bytes / Seconds(t0) / 1e9);
            c.blocksValue = crc;
            // One block again and again, still in the cache: what a split
            // pays for the checksum of the block it has just read.
            StartClean();
            t0 = Clock::now();
            constexpr int kRepeats = 100;
            for (int k = 0; k < kRepeats; ++k)
                crc ^= c.run(0, p, std::min(kBlock, bytes));
            c.hot = std::max(c.hot, kRepeats * std::min(kBlock, bytes) / Seconds(t0) / 1e9);
            c.hotValue = crc;
        }
    }
}

const Contender* Find(const std::vector<Contender>& field, const std::string& name) {
    for (const auto& c : field)
        if (c.name == name)
            return &c;
    return nullptr;
}

void Ratio(const std::vector<Contender>& field, const char* ours, const char* peer) {
    const Contender* a = Find(field, ours);
    const Contender* b = Find(field, peer);
    if (a && b)
        std::printf("  %-16s / %-24s %5.2f (whole buffer)  %5.2f (blocks)  %5.2f (in cache)\n",
                    ours, peer, a->whole / b->whole, a->blocks / b->blocks, a->hot / b->hot);
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

    std::vector<Contender> field;
    for (zelbrin::Crc32Path path : zelbrin::kAllCrc32Paths) {
        const std::string name = std::string("Zelbrin ") + zelbrin::Crc32PathName(path);
        if (const char* missing = zelbrin::Crc32PathMissing(path))
            std::printf("%s: not run, %s\n", name.c_str(), missing);
        else
            field.push_back({name, Ours(path)});
    }
    field.push_back({"zlib crc32", [](uint32_t crc, const unsigned char* p, size_t n) {
                         return static_cast<uint32_t>(crc32(crc, p, static_cast<uInt>(n)));
                     }});
#ifdef BENCH_WITH_ISAL
    field.push_back({"ISA-L crc32_gzip_refl", crc32_gzip_refl});
    field.push_back({"ISA-L by16_10", crc32_gzip_refl_by16_10});
    field.push_back({"ISA-L by8", crc32_gzip_refl_by8});
    field.push_back({"ISA-L by8_02", crc32_gzip_refl_by8_02});
#else
    std::printf("ISA-L: not run, built without it (bench/crc/run.sh installs it)\n");
#endif

    if (argc > 3)
        std::erase_if(
            field, [&](const Contender& c) { return c.name.find(argv[3]) == std::string::npos; });
    std::printf("buffer %zu MiB, best of %d rounds; GB/s whole buffer | %zu-byte blocks | one "
                "block in cache\n",
                megabytes, rounds, kBlock);
    for (size_t offset : {size_t{0}, size_t{3}}) {
        const unsigned char* p = data.data() + offset;
        for (auto& c : field)
            c.whole = c.blocks = c.hot = 0;
        Race(field, p, size, rounds);
        bool same = true;
        for (const auto& c : field) {
            same =
                same && c.wholeValue == field[0].wholeValue && c.blocksValue == field[0].wholeValue;
            std::printf("offset %zu  %-24s %6.2f | %6.2f | %6.2f\n", offset, c.name.c_str(),
                        c.whole, c.blocks, c.hot);
        }
        std::printf("offset %zu  %s\n", offset, same ? "all values equal" : "VALUES DIFFER");
        Ratio(field, "Zelbrin AVX-512", "ISA-L crc32_gzip_refl");
        Ratio(field, "Zelbrin AVX-512", "ISA-L by16_10");
        Ratio(field, "Zelbrin PCLMUL", "ISA-L by8");
        Ratio(field, "Zelbrin PCLMUL", "ISA-L by8_02");
        Ratio(field, "Zelbrin slicing", "zlib crc32");
    }
    const size_t small = std::min<size_t>(size, 64u << 20);
    auto t0 = Clock::now();
    const uint32_t reference = ~zelbrin::Crc32UpdateBytewise(0xFFFFFFFFu, data.data(), small);
    std::printf("byte-at-a-time reference (%zu MiB once) %6.2f GB/s (value %08x)\n", small >> 20,
                small / Seconds(t0) / 1e9, reference);
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("peak resident memory %ld MiB (buffer %zu MiB)\n", ru.ru_maxrss / 1024, megabytes);
    return 0;
}
