#pragma once
// The owner of a COM interface pointer: releases it when it goes away.
#include <unknwn.h>

#include <utility>

namespace support {

template <class Interface> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Reset(); }

    // For functions that hand out an interface through a pointer to it.
    Interface** operator&() {
        Reset();
        return &p_;
    }
    Interface* operator->() const { return p_; }
    Interface* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Reset() {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }

  private:
    Interface* p_ = nullptr;
};

} // namespace support
