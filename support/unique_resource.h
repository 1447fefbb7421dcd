#pragma once
// One owner for every kind of system handle: it closes what it holds when it
// goes away, can be moved but not copied, and can give its handle up.
// Traits name the handle type, its "nothing" value, the test for a handle
// that needs closing, and how it is closed.
#include <utility>

namespace support {

template <class Traits> class UniqueResource {
  public:
    using Handle = typename Traits::Handle;

    UniqueResource() = default;
    explicit UniqueResource(Handle handle) : handle_(handle) {}
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { Reset(); }

    Handle Get() const { return handle_; }
    bool Valid() const { return Traits::Valid(handle_); }
    explicit operator bool() const { return Valid(); }

    // Closes the handle held (if any) and holds `handle` instead. Returns
    // whether the close succeeded, for handles whose close can fail.
    bool Reset(Handle handle = Traits::kNone) {
        bool closed = true;
        if (Traits::Valid(handle_))
            closed = Traits::Close(handle_);
        handle_ = handle;
        return closed;
    }
    Handle Release() { return std::exchange(handle_, Traits::kNone); }

  private:
    Handle handle_ = Traits::kNone;
};

} // namespace support
