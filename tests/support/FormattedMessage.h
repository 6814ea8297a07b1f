// FormatMessage into a buffer it allocates, checked and freed, for the tests of the message
// calls and of the tables behind them.
#pragma once

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdint>
#include <string>

#include <windows.h>

namespace formattedmessage {

inline constexpr DWORD kFromSystem = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;

// Formats into a LocalAlloc'd buffer, checks the reported length against the terminator,
// frees it and returns the text; nothing when the call failed.
inline std::u16string Allocated(DWORD flags, LPCVOID source, DWORD id, DWORD language = 0, va_list* args = nullptr) {
  WCHAR* buffer = nullptr;
  const DWORD length = FormatMessageW(flags | FORMAT_MESSAGE_ALLOCATE_BUFFER, source, id, language,
                                      reinterpret_cast<LPWSTR>(&buffer), 0, args);
  if (length == 0) {
    EXPECT_EQ(buffer, nullptr);
    return u"<failed>";
  }
  EXPECT_EQ(buffer[length], u'\0');
  std::u16string text(buffer, length);
  EXPECT_EQ(LocalFree(buffer), nullptr);
  return text;
}

inline std::string AllocatedA(DWORD flags, LPCVOID source, DWORD id, DWORD language = 0) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(flags | FORMAT_MESSAGE_ALLOCATE_BUFFER, source, id, language,
                                      reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  if (length == 0) return "<failed>";
  EXPECT_EQ(buffer[length], '\0');
  std::string text(buffer, length);
  EXPECT_EQ(LocalFree(buffer), nullptr);
  return text;
}

inline HMODULE FakeModule(std::uintptr_t n) { return reinterpret_cast<HMODULE>(n); }

}  // namespace formattedmessage
