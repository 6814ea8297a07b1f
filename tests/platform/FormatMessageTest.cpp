#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include <windows.h>

#include "core/kernel/SystemMessageTable.h"

namespace {

constexpr DWORD kFromSystem = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;

// Formats into a LocalAlloc'd buffer, checks the reported length against the terminator,
// frees it and returns the text; nothing when the call failed.
std::u16string Allocated(DWORD flags, LPCVOID source, DWORD id, DWORD language = 0, va_list* args = nullptr) {
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

std::string AllocatedA(DWORD flags, LPCVOID source, DWORD id, DWORD language = 0) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(flags | FORMAT_MESSAGE_ALLOCATE_BUFFER, source, id, language,
                                      reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  if (length == 0) return "<failed>";
  EXPECT_EQ(buffer[length], '\0');
  std::string text(buffer, length);
  EXPECT_EQ(LocalFree(buffer), nullptr);
  return text;
}

HMODULE FakeModule(std::uintptr_t n) { return reinterpret_cast<HMODULE>(n); }

TEST(SystemMessageTable, CarriesTheCodesTheSystemRaisesWithThePlatformsWording) {
  struct Row {
    DWORD code;
    const char16_t* text;
  } rows[] = {
      {2, u"The system cannot find the file specified.\r\n"},  // file lookups
      {3, u"The system cannot find the path specified.\r\n"},
      {5, u"Access is denied.\r\n"},  // registry and files
      {87, u"The parameter is incorrect.\r\n"},
      {122, u"The data area passed to a system call is too small.\r\n"},  // conversions
      {234, u"More data is available.\r\n"},                             // registry queries
      {1113, u"No mapping for the Unicode character exists in the target multi-byte code page.\r\n"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Allocated(kFromSystem, nullptr, row.code), row.text) << row.code;
  }
  // Every code the layers above can raise has an English text ending in the table's line break.
  for (DWORD code : {2u, 3u, 5u, 6u, 8u, 13u, 14u, 87u, 122u, 123u, 126u, 127u, 183u, 234u, 259u, 1004u,
                     1009u, 1010u, 1011u, 1012u, 1013u, 1014u, 1015u, 1113u, 1114u, 1155u, 1223u, 1400u,
                     1401u, 1405u, 1407u, 1413u, 1812u, 1813u, 1814u, 1815u}) {
    const WCHAR* text = core::FindSystemMessage(code);
    ASSERT_NE(text, nullptr) << code;
    const std::u16string s(text);
    EXPECT_GT(s.size(), 3u) << code;
    EXPECT_EQ(s.substr(s.size() - 2), u"\r\n") << code;
  }
}

TEST(FormatMessage, FailsWithThePlatformsCodes) {
  struct Row {
    DWORD flags;
    DWORD id;
    DWORD language;
    DWORD error;
  } rows[] = {
      {kFromSystem, 0x1F, 0, ERROR_MR_MID_NOT_FOUND},                                  // no text for the code
      {kFromSystem, 5, MAKELANGID(0x07, SUBLANG_DEFAULT), ERROR_RESOURCE_LANG_NOT_FOUND},  // German
      {FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, 5, 0, ERROR_INVALID_PARAMETER},  // no source
  };
  for (const Row& row : rows) {
    SetLastError(0);
    EXPECT_EQ(Allocated(row.flags, nullptr, row.id, row.language), u"<failed>") << row.id;
    EXPECT_EQ(GetLastError(), row.error) << row.id;
  }
  // English by its own identifier works like the neutral language.
  EXPECT_EQ(Allocated(kFromSystem, nullptr, 5, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), u"Access is denied.\r\n");
}

TEST(FormatMessage, CallerBufferMustHoldTheTextAndItsTerminator) {
  const DWORD flags = FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
  const std::u16string expected = u"Access is denied.\r\n";  // 19 units
  WCHAR buffer[32];
  SetLastError(0);
  EXPECT_EQ(FormatMessageW(flags, nullptr, 5, 0, buffer, 19, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  ASSERT_EQ(FormatMessageW(flags, nullptr, 5, 0, buffer, 20, nullptr), 19u);
  EXPECT_EQ(std::u16string(buffer), expected);
}

TEST(LocalFree, RefusesBlocksItDidNotHandOut) {
  HLOCAL block = LocalAlloc(LPTR, 16);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(static_cast<unsigned char*>(block)[15], 0);  // zero-initialised
  EXPECT_EQ(LocalFree(block), nullptr);
  EXPECT_EQ(LocalFree(nullptr), nullptr);

  int onStack = 0;
  SetLastError(0);
  EXPECT_EQ(LocalFree(&onStack), &onStack);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(FormatMessage, WidthBitsKeepJoinOrWrapTheLines) {
  const auto fromString = [](const char16_t* text, DWORD width) {
    return Allocated(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_IGNORE_INSERTS | width, text, 0);
  };
  struct Row {
    const char16_t* source;
    DWORD width;
    const char16_t* expected;
  } rows[] = {
      {u"Access is denied.\r\n", 0, u"Access is denied.\r\n"},                  // 0 keeps the line break
      {u"Access is denied.\r\n", FORMAT_MESSAGE_MAX_WIDTH_MASK, u"Access is denied. "},  // joined into a blank
      {u"one\r\ntwo\r\n", FORMAT_MESSAGE_MAX_WIDTH_MASK, u"one two "},
      {u"hard%nbreak\r\n", FORMAT_MESSAGE_MAX_WIDTH_MASK, u"hard\r\nbreak "},  // %n survives joining
      {u"aaa bbb ccc ddd", 7, u"aaa bbb\r\nccc ddd"},                           // wraps at a blank
      {u"aaa bbb ccc", 5, u"aaa\r\nbbb\r\nccc"},
      {u"abcdefgh", 3, u"abc\r\ndef\r\ngh"},                                    // a long word is cut
      {u"50%% off%0 ignored", 0, u"50% off"},                                  // %% and %0
      {u"a%tb%rc", 0, u"a\tb\rc"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(fromString(row.source, row.width), row.expected) << std::string(row.source, row.source + 3);
  }
  // The system texts go through the same rules.
  EXPECT_EQ(Allocated(kFromSystem | FORMAT_MESSAGE_MAX_WIDTH_MASK, nullptr, 2),
            u"The system cannot find the file specified. ");
  const std::u16string wrapped = Allocated(kFromSystem | 20, nullptr, 1015);
  std::size_t lineStart = 0;
  for (std::size_t end; (end = wrapped.find(u"\r\n", lineStart)) != std::u16string::npos; lineStart = end + 2) {
    EXPECT_LE(end - lineStart, 20u);
  }
  EXPECT_LE(wrapped.size() - lineStart, 20u);
}

TEST(FormatMessage, InsertsAreFilledOrPassedThrough) {
  const char16_t* text = u"%1 has %2!d! items (%3!04x!)";
  DWORD_PTR values[] = {reinterpret_cast<DWORD_PTR>(u"Box"), 42, 0xAB};
  EXPECT_EQ(Allocated(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, text, 0, 0,
                      reinterpret_cast<va_list*>(values)),
            u"Box has 42 items (00ab)");
  EXPECT_EQ(Allocated(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_IGNORE_INSERTS, text, 0), text);
  // The system's own text for 317 carries inserts; ignoring them leaves them in place.
  EXPECT_EQ(Allocated(kFromSystem | FORMAT_MESSAGE_MAX_WIDTH_MASK, nullptr, 317),
            u"The system cannot find message text for message number 0x%1 in the message file for %2. ");
  // Inserts without arguments are a bad call, not a crash.
  SetLastError(0);
  EXPECT_EQ(Allocated(FORMAT_MESSAGE_FROM_STRING, text, 0), u"<failed>");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(FormatMessage, ModuleTableIsSearchedBeforeTheSystems) {
  const HMODULE module = FakeModule(0x5000);
  core::RegisterModuleMessageTable(module, {{5, u"Module says no.\r\n"}, {0x20000001, u"Own message.\r\n"}});
  const DWORD both = kFromSystem | FORMAT_MESSAGE_FROM_HMODULE;
  EXPECT_EQ(Allocated(both, module, 5), u"Module says no.\r\n");
  EXPECT_EQ(Allocated(both, module, 2), u"The system cannot find the file specified.\r\n");  // falls back
  EXPECT_EQ(Allocated(both & ~FORMAT_MESSAGE_FROM_SYSTEM, module, 0x20000001), u"Own message.\r\n");

  SetLastError(0);
  EXPECT_EQ(Allocated(both & ~FORMAT_MESSAGE_FROM_SYSTEM, module, 2), u"<failed>");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
  core::UnregisterModuleMessageTable(module);
  // A module without a table has no message resource at all.
  SetLastError(0);
  EXPECT_EQ(Allocated(both & ~FORMAT_MESSAGE_FROM_SYSTEM, module, 0x20000001), u"<failed>");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
}

TEST(FormatMessage, AnsiFormGivesTheTextInTheAnsiCodePage) {
  EXPECT_EQ(AllocatedA(kFromSystem, nullptr, 5), "Access is denied.\r\n");
  // Sizes count bytes: "caf\xE9" is four windows-1252 bytes, U+00E9 in UTF-16.
  const HMODULE module = FakeModule(0x5001);
  core::RegisterModuleMessageTable(module, {{1, u"caf\u00E9 \u20AC \u03A9\r\n"}});
  const DWORD flags = kFromSystem | FORMAT_MESSAGE_FROM_HMODULE;
  // The euro sign is in windows-1252 (0x80); omega is not and becomes "?".
  EXPECT_EQ(AllocatedA(flags, module, 1), "caf\xE9 \x80 ?\r\n");
  EXPECT_EQ(Allocated(flags, module, 1), u"caf\u00E9 \u20AC \u03A9\r\n");
  core::UnregisterModuleMessageTable(module);
  // A narrow source string is read in the ANSI code page too.
  EXPECT_EQ(AllocatedA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_IGNORE_INSERTS, "\xE9t\xE9", 0), "\xE9t\xE9");
}

}  // namespace
