#include "core/checksum/checksum_worker.h"

namespace zelbrin {

ChecksumWorker::ChecksumWorker() : thread_([this] { Run(); }) {}

ChecksumWorker::~ChecksumWorker() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !pending_; });
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ChecksumWorker::Feed(const void* bytes, size_t length) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_; });
    bytes_ = bytes;
    length_ = length;
    pending_ = true;
    lock.unlock();
    changed_.notify_all();
}

uint32_t ChecksumWorker::Finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_; });
    return crc_.Value();
}

void ChecksumWorker::Run() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return pending_ || stop_; });
        if (!pending_)
            return;
        const void* bytes = bytes_;
        const size_t length = length_;
        lock.unlock();
        crc_.Update(bytes, length);
        lock.lock();
        pending_ = false;
        changed_.notify_all();
    }
}

} // namespace zelbrin
