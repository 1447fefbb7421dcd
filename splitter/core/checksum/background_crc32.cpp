#include "core/checksum/background_crc32.h"

#include <chrono>
#include <system_error>

namespace zelbrin {
namespace {

// How long the helper looks for the next block before it sleeps: longer
// than a block's write and a new piece's creation take, far shorter than a
// pause the user would notice in the processor's load.
constexpr auto kLookFor = std::chrono::milliseconds(2);

// Yields between looks, so that a thread with work takes the processor.
template <class Ready> bool LookFor(Ready ready) {
    const auto until = std::chrono::steady_clock::now() + kLookFor;
    for (int n = 0;; ++n) {
        if (ready())
            return true;
        if (n % 64 == 63 && std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::yield();
    }
}

} // namespace

BackgroundCrc32::BackgroundCrc32() {
    try {
        helper_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to spare: the blocks are summed as they are handed over.
    }
}

BackgroundCrc32::~BackgroundCrc32() {
    if (!helper_.joinable())
        return;
    Wait();
    {
        std::lock_guard lock(mutex_);
        quit_.store(true);
    }
    wake_.notify_one();
    helper_.join();
}

void BackgroundCrc32::Start(const void* block, size_t length) {
    if (!helper_.joinable()) {
        crc_.Update(block, length);
        return;
    }
    Wait();
    block_ = block;
    length_ = length;
    started_.fetch_add(1); // publishes block_ and length_
    if (asleep_.load()) {
        std::lock_guard lock(mutex_);
        wake_.notify_one();
    }
}

void BackgroundCrc32::Wait() {
    const uint64_t wanted = started_.load(std::memory_order_relaxed);
    while (summed_.load(std::memory_order_acquire) != wanted)
        std::this_thread::yield();
}

uint32_t BackgroundCrc32::Value() {
    Wait();
    return crc_.Value();
}

void BackgroundCrc32::Run() {
    uint64_t done = 0;
    // Sequentially consistent, as asleep_ is: a block handed over either is
    // seen by the look after asleep_ is set, or sees asleep_ and wakes.
    const auto due = [&] { return started_.load() != done || quit_.load(); };
    for (;;) {
        if (!LookFor(due)) {
            std::unique_lock lock(mutex_);
            // Asleep is set before the last look: a block handed over after
            // that look sees it and wakes the helper.
            asleep_.store(true);
            wake_.wait(lock, due);
            asleep_.store(false);
        }
        if (started_.load(std::memory_order_acquire) != done) {
            crc_.Update(block_, length_);
            summed_.store(++done, std::memory_order_release);
        } else if (quit_) {
            return;
        }
    }
}

} // namespace zelbrin
