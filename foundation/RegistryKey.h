// An owned registry key handle: holds one key or none and closes the one it holds.
#pragma once

#include <windows.h>
#include <winreg.h>

class RegistryKey {
 public:
  RegistryKey() = default;
  explicit RegistryKey(HKEY key) : key_(key) {}
  ~RegistryKey() { Reset(); }
  RegistryKey(RegistryKey&& other) noexcept : key_(other.Release()) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  HKEY Get() const { return key_; }
  bool IsOpen() const { return key_ != nullptr; }

  // Closes the key it holds, if any, and takes `key`.
  void Reset(HKEY key = nullptr) noexcept;
  // Gives the key to the caller without closing it.
  HKEY Release() noexcept {
    HKEY key = key_;
    key_ = nullptr;
    return key;
  }

 private:
  HKEY key_ = nullptr;
};
