#pragma once

#include <windows.h>

#include <utility>

namespace ui {

// Owns a kernel handle (process, thread, pipe end, file, mapping, job) and closes it once.
// Both null and INVALID_HANDLE_VALUE count as "no handle".
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE release() { return std::exchange(handle_, nullptr); }
  // Closes the handle now; false when closing failed.
  bool reset(HANDLE handle = nullptr) {
    BOOL closed = TRUE;
    if (*this) closed = CloseHandle(handle_);
    handle_ = handle;
    return closed != FALSE;
  }
  HANDLE* receive() {
    reset();
    return &handle_;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace ui
