#include "core/checksum_worker.h"

#include "core/crc32.h"

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

void ChecksumWorker::Finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !pending_; });
}

void ChecksumWorker::Run() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return pending_ || stop_; });
        if (!pending_)
            return;
        const void* bytes = bytes_;
        const size_t length = length_;
        const int start = started_ ? 0 : 1;
        started_ = true;
        lock.unlock();
        Crc32Update(bytes, length, start);
        lock.lock();
        pending_ = false;
        changed_.notify_all();
    }
}
