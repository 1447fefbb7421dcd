#pragma once
// A CRC-32 computed on a thread of its own, on the block the caller is
// writing out at the same time: the sum of a block costs the split nothing
// as long as writing the block takes longer than summing it. The two
// threads pass each block by atomics alone: a wait on the system would cost
// each block a call into the system (under Wine, a round trip to its
// server) worth more than the sum itself. The helper waits on the system
// only when no block came for a while (between pieces, at the end).
#include "core/checksum/crc32.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

namespace zelbrin {

class BackgroundCrc32 {
  public:
    BackgroundCrc32();
    BackgroundCrc32(const BackgroundCrc32&) = delete;
    BackgroundCrc32& operator=(const BackgroundCrc32&) = delete;
    ~BackgroundCrc32();

    // Hands over the stream's next block, which must stay as it is until
    // Wait returns. A block handed over while the last one is being summed
    // waits for it first.
    void Start(const void* block, size_t length);
    // Returns once every block handed over is in the sum.
    void Wait();
    // The CRC-32 of every block handed over.
    uint32_t Value();

  private:
    void Run();

    Crc32 crc_;
    const void* block_ = nullptr;
    size_t length_ = 0;
    // Blocks handed over, and blocks summed; the helper sums while they
    // differ.
    std::atomic<uint64_t> started_{0};
    std::atomic<uint64_t> summed_{0};
    std::atomic<bool> quit_{false};
    std::atomic<bool> asleep_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread helper_;
};

} // namespace zelbrin
