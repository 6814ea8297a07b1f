#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include <windows.h>

#include "support/FormattedMessage.h"

namespace {

using formattedmessage::Allocated;
using formattedmessage::kFromSystem;

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

}  // namespace
