#pragma once
// An owned SAFEARRAY, destroyed at the end, and the lock on its data while it is read or
// written.
#include <utility>

#include "win32/win32_api.h"

namespace harumado::win32 {

class SafeArray {
 public:
  SafeArray() = default;
  explicit SafeArray(SAFEARRAY* array) : array_(array) {}
  ~SafeArray() {
    if (array_ != nullptr) ::SafeArrayDestroy(array_);
  }
  SafeArray(const SafeArray&) = delete;
  SafeArray& operator=(const SafeArray&) = delete;
  SafeArray(SafeArray&& other) noexcept : array_(std::exchange(other.array_, nullptr)) {}
  SAFEARRAY* get() const { return array_; }
  // Hands the array over (to a VARIANT that then owns it).
  SAFEARRAY* release() { return std::exchange(array_, nullptr); }

 private:
  SAFEARRAY* array_ = nullptr;
};

// The array's data, locked while this lives.
class SafeArrayData {
 public:
  explicit SafeArrayData(SAFEARRAY* array) : array_(array) {
    if (FAILED(::SafeArrayAccessData(array_, &data_))) data_ = nullptr;
  }
  ~SafeArrayData() {
    if (data_ != nullptr) ::SafeArrayUnaccessData(array_);
  }
  SafeArrayData(const SafeArrayData&) = delete;
  SafeArrayData& operator=(const SafeArrayData&) = delete;
  bool ok() const { return data_ != nullptr; }
  template <typename T>
  T* as() const {
    return static_cast<T*>(data_);
  }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
};

}  // namespace harumado::win32
