#pragma once
// A move-only owner of one handle. Traits give the handle type, its invalid
// value and how to close it:
//
//   struct FileTraits {
//       using Handle = HANDLE;
//       static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
//       static void Close(Handle h) noexcept { ::CloseHandle(h); }
//   };
//   using UniqueFile = UniqueHandle<FileTraits>;
//
// Copying is deleted, so a handle is never closed twice.
#include <utility>

namespace qv {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept : handle_(Traits::Invalid()) {}
    explicit UniqueHandle(Handle h) noexcept : handle_(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const noexcept { return handle_; }
    bool valid() const noexcept { return handle_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    // Gives up ownership without closing.
    Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    // Closes the current handle (if any) and takes h.
    void reset(Handle h = Traits::Invalid()) noexcept
    {
        Handle old = std::exchange(handle_, h);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }

private:
    Handle handle_;
};

}  // namespace qv
