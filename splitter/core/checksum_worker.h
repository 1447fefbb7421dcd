#pragma once
// Runs Crc32Update on a second thread, block after block in order, so the
// checksum of a block is computed while that block is written and the next
// one is read. The caller alternates two buffers: a buffer handed over with
// Feed must stay unchanged until the next Feed or Finish returns.
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

class ChecksumWorker {
public:
    ChecksumWorker();
    ~ChecksumWorker();
    ChecksumWorker(const ChecksumWorker&) = delete;
    ChecksumWorker& operator=(const ChecksumWorker&) = delete;

    // Waits until the previous block is done, then hands this one over. The
    // first block fed starts a new checksum.
    void Feed(const void* bytes, size_t length);
    // Waits until every block fed is in CrcRegister.
    void Finish();

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    const void* bytes_ = nullptr;
    size_t length_ = 0;
    bool pending_ = false;
    bool started_ = false;
    bool stop_ = false;
    std::thread thread_;
};
