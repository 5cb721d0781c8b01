#pragma once

#include <utility>

namespace qfd {

// An open file of the platform's own kind (a descriptor, a HANDLE), closed when it goes.
class NativeHandle {
  public:
#ifdef _WIN32
    using Raw = void*;  // a HANDLE
#else
    using Raw = int;  // a file descriptor
#endif

    NativeHandle() = default;
    // Takes over what an open call returned; its failure value leaves the handle empty.
    explicit NativeHandle(Raw raw);
    NativeHandle(NativeHandle&& other) noexcept : raw_(std::exchange(other.raw_, kEmpty)) {}
    NativeHandle& operator=(NativeHandle&& other) noexcept {
        if (this != &other) {
            if (Valid()) Close();
            raw_ = std::exchange(other.raw_, kEmpty);
        }
        return *this;
    }
    NativeHandle(const NativeHandle&) = delete;
    NativeHandle& operator=(const NativeHandle&) = delete;
    ~NativeHandle() {
        if (Valid()) Close();
    }

    Raw Get() const { return raw_; }
    bool Valid() const { return raw_ != kEmpty; }
    // Closes now and reports whether the close succeeded (a late write error shows up here).
    bool Close();

  private:
#ifdef _WIN32
    static constexpr Raw kEmpty = nullptr;
#else
    static constexpr Raw kEmpty = -1;
#endif
    Raw raw_ = kEmpty;
};

}  // namespace qfd
