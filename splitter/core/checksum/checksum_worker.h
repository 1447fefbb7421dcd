#pragma once
// Computes a CRC-32 on a second thread, block after block in order, so the
// checksum of a block is computed while that block is written and the next
// one is read. The caller alternates two buffers: a buffer handed over with
// Feed must stay unchanged until the next Feed or Finish returns.
#include "core/checksum/crc32.h"

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

namespace zelbrin {

class ChecksumWorker {
  public:
    ChecksumWorker();
    ~ChecksumWorker();
    ChecksumWorker(const ChecksumWorker&) = delete;
    ChecksumWorker& operator=(const ChecksumWorker&) = delete;

    // Waits until the previous block is done, then hands this one over.
    void Feed(const void* bytes, size_t length);
    // Waits until every block fed is counted; the CRC-32 of all of them.
    uint32_t Finish();

  private:
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    const void* bytes_ = nullptr;
    size_t length_ = 0;
    bool pending_ = false;
    Crc32 crc_;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace zelbrin
