#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include <string>
#include <vector>

#include "support/UnicodeCases.h"

namespace {

using unicodecases::kUtf16Cases;
using unicodecases::kUtf8Cases;

constexpr DWORD kUntouched = 0xDEADBEEF;

struct Call {
  int result;
  DWORD lastError;  // kUntouched when the call left it alone
};

Call ToWide(UINT cp, DWORD flags, const std::string& in, std::u16string* out, int capacity) {
  SetLastError(kUntouched);
  const int r = MultiByteToWideChar(cp, flags, in.data(), static_cast<int>(in.size()), out ? out->data() : nullptr,
                                    capacity);
  return {r, GetLastError()};
}

Call ToNarrow(UINT cp, DWORD flags, const std::u16string& in, std::string* out, int capacity) {
  SetLastError(kUntouched);
  const int r = WideCharToMultiByte(cp, flags, in.data(), static_cast<int>(in.size()), out ? out->data() : nullptr,
                                    capacity, nullptr, nullptr);
  return {r, GetLastError()};
}

// The two calls of every conversion: the size query, then the conversion into exactly that size.
struct Converted {
  bool ok;
  std::u16string wide;
  std::string narrow;
  DWORD lastError;
};

Converted Wide(UINT cp, DWORD flags, const std::string& in) {
  const Call size = ToWide(cp, flags, in, nullptr, 0);
  if (size.result == 0) return {false, {}, {}, size.lastError};
  std::u16string out(static_cast<std::size_t>(size.result), u'\0');
  const Call done = ToWide(cp, flags, in, &out, size.result);
  EXPECT_EQ(done.result, size.result) << "the size query and the conversion disagree";
  return {done.result != 0, out, {}, done.lastError};
}

Converted Narrow(UINT cp, DWORD flags, const std::u16string& in) {
  const Call size = ToNarrow(cp, flags, in, nullptr, 0);
  if (size.result == 0) return {false, {}, {}, size.lastError};
  std::string out(static_cast<std::size_t>(size.result), '\0');
  const Call done = ToNarrow(cp, flags, in, &out, size.result);
  EXPECT_EQ(done.result, size.result) << "the size query and the conversion disagree";
  return {done.result != 0, {}, out, done.lastError};
}

// ---- UTF-8 to UTF-16: well-formedness ----

TEST(MultiByteToWideChar, AcceptsExactlyTheWellFormedUtf8) {
  for (const auto& c : kUtf8Cases) {
    SCOPED_TRACE(c.what);
    const Converted strict = Wide(CP_UTF8, MB_ERR_INVALID_CHARS, c.bytes);
    EXPECT_EQ(strict.ok, c.wellFormed);
    if (c.wellFormed) {
      EXPECT_EQ(strict.wide, c.lenient);
    } else {
      EXPECT_EQ(strict.lastError, static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    }
  }
}

TEST(MultiByteToWideChar, LenientReplacesEachMaximalIllFormedSubpart) {
  for (const auto& c : kUtf8Cases) {
    SCOPED_TRACE(c.what);
    const Converted lenient = Wide(CP_UTF8, 0, c.bytes);
    ASSERT_TRUE(lenient.ok);
    EXPECT_EQ(lenient.wide, c.lenient);
  }
}

// The size query checks 16 bytes at a time and skips blocks of ASCII: every case above, at
// every offset across two blocks, after ASCII or after three-byte characters, at the end of
// the text, before a block of ASCII, or before one and a stray continuation byte (which must
// not complete a sequence cut by the ASCII), is refused or counted and converted as alone.
TEST(MultiByteToWideChar, EveryCaseAtEveryOffsetOfTheBlocks) {
  for (const auto& c : kUtf8Cases) {
    for (std::size_t at = 0; at <= 40; ++at) {
      for (const bool afterCjk : {false, true}) {
        for (const int follower : {0, 1, 2}) {
          SCOPED_TRACE(testing::Message() << c.what << " at " << at << (afterCjk ? " after CJK" : "")
                                          << " follower " << follower);
          std::string before(at, 'x');
          std::u16string wideBefore(at, u'x');
          if (afterCjk) {
            before.clear();
            wideBefore.clear();
            for (std::size_t i = 0; i < at / 3; ++i) {
              before += "\xE6\x9D\xB1";
              wideBefore += u'\u6771';
            }
            before.append(at % 3, 'x');
            wideBefore.append(at % 3, u'x');
          }
          const std::string after[] = {"", std::string(17, 'y'), std::string(16, 'y') + "\x80"};
          const std::u16string wideAfter[] = {u"", std::u16string(17, u'y'), std::u16string(16, u'y') + u"\uFFFD"};
          const std::string text = before + c.bytes + after[follower];
          const std::u16string expected = wideBefore + c.lenient + wideAfter[follower];
          const bool wellFormed = c.wellFormed && follower != 2;
          const Converted strict = Wide(CP_UTF8, MB_ERR_INVALID_CHARS, text);
          EXPECT_EQ(strict.ok, wellFormed);
          if (wellFormed) {
            EXPECT_EQ(strict.wide, expected);
          }
          const Converted lenient = Wide(CP_UTF8, 0, text);
          EXPECT_TRUE(lenient.ok);
          EXPECT_EQ(lenient.wide, expected);
        }
      }
    }
  }
}

// Every sequence of each length in a run of ASCII, at every offset around the 8-byte words
// of the fast path, in both directions.
TEST(CodePageConversion, NonAsciiAtEveryOffsetOfTheAsciiPath) {
  const std::vector<std::pair<std::string, std::u16string>> pieces = {
      {"\xC3\xA9", u"\u00E9"}, {"\xE2\x82\xAC", u"\u20AC"}, {"\xF0\x9F\x98\x80", u"\U0001F600"}};
  for (const auto& [bytes, units] : pieces) {
    for (std::size_t at = 0; at <= 20; ++at) {
      SCOPED_TRACE(testing::Message() << units.size() << "-unit piece at " << at);
      const std::string narrow = std::string(at, 'x') + bytes + std::string(20 - at, 'y');
      const std::u16string wide = std::u16string(at, u'x') + units + std::u16string(20 - at, u'y');
      const Converted toWide = Wide(CP_UTF8, MB_ERR_INVALID_CHARS, narrow);
      EXPECT_TRUE(toWide.ok);
      EXPECT_EQ(toWide.wide, wide);
      const Converted toNarrow = Narrow(CP_UTF8, WC_ERR_INVALID_CHARS, wide);
      EXPECT_TRUE(toNarrow.ok);
      EXPECT_EQ(toNarrow.narrow, narrow);
    }
  }
}

// ---- UTF-16 to UTF-8: well-formedness ----

TEST(WideCharToMultiByte, RefusesUnpairedSurrogatesOnlyWhenStrict) {
  for (const auto& c : kUtf16Cases) {
    SCOPED_TRACE(c.what);
    const Converted strict = Narrow(CP_UTF8, WC_ERR_INVALID_CHARS, c.units);
    EXPECT_EQ(strict.ok, c.wellFormed);
    if (c.wellFormed) {
      EXPECT_EQ(strict.narrow, c.lenient);
    } else {
      EXPECT_EQ(strict.lastError, static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    }
    const Converted lenient = Narrow(CP_UTF8, 0, c.units);
    ASSERT_TRUE(lenient.ok);
    EXPECT_EQ(lenient.narrow, c.lenient);
  }
}

// ---- The calling protocol ----

TEST(CodePageConversion, SizeQueryThenCapacity) {
  const std::string text = "na\xC3\xAFve \xF0\x9F\x98\x80";  // 11 bytes, 8 units
  const std::u16string wide = u"na\u00EFve \U0001F600";
  std::u16string out(16, u'#');
  // With a buffer but a size of 0 it is still a size query: nothing is written.
  EXPECT_EQ(ToWide(CP_UTF8, 0, text, &out, 0).result, 8);
  EXPECT_EQ(out, std::u16string(16, u'#'));
  // One unit short fails; the exact size and a larger one succeed.
  EXPECT_EQ(ToWide(CP_UTF8, 0, text, &out, 7).lastError, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(ToWide(CP_UTF8, 0, text, &out, 7).result, 0);
  EXPECT_EQ(ToWide(CP_UTF8, 0, text, &out, 8).result, 8);
  EXPECT_EQ(out.substr(0, 8), wide);
  EXPECT_EQ(ToWide(CP_UTF8, 0, text, &out, 16).result, 8);

  std::string narrow(16, '#');
  EXPECT_EQ(ToNarrow(CP_UTF8, 0, wide, &narrow, 0).result, 11);
  EXPECT_EQ(ToNarrow(CP_UTF8, 0, wide, &narrow, 10).lastError, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(ToNarrow(CP_UTF8, 0, wide, &narrow, 11).result, 11);
  EXPECT_EQ(narrow.substr(0, 11), text);
}

// The capacity check of the word path: every capacity below the need fails.
TEST(CodePageConversion, EveryShortCapacityFails) {
  const std::string narrow = "0123456789abcdefghij\xC3\xA9";
  const std::u16string wide = u"0123456789abcdefghij\u00E9";
  for (int capacity = 1; capacity <= 22; ++capacity) {
    SCOPED_TRACE(capacity);
    std::u16string w(32, u'#');
    const Call toWide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, narrow, &w, capacity);
    EXPECT_EQ(toWide.result, capacity >= 21 ? 21 : 0);
    if (capacity < 21) {
      EXPECT_EQ(toWide.lastError, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    }
    EXPECT_EQ(w.substr(static_cast<std::size_t>(capacity)), std::u16string(32 - capacity, u'#')) << "wrote past the capacity";
    std::string n(32, '#');
    const Call toNarrow = ToNarrow(CP_UTF8, WC_ERR_INVALID_CHARS, wide, &n, capacity);
    EXPECT_EQ(toNarrow.result, capacity >= 22 ? 22 : 0);
    if (capacity < 22) {
      EXPECT_EQ(toNarrow.lastError, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    }
    EXPECT_EQ(n.substr(static_cast<std::size_t>(capacity)), std::string(32 - capacity, '#')) << "wrote past the capacity";
  }
}

TEST(CodePageConversion, MinusOneConvertsTheTerminatorToo) {
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\xA9t\xC3\xA9", -1, nullptr, 0), 4);
  WCHAR wide[4];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\xA9t\xC3\xA9", -1, wide, 4), 4);
  EXPECT_EQ(std::u16string(wide, 4), std::u16string(u"\u00E9t\u00E9\0", 4));
  char narrow[6];
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u00E9t\u00E9", -1, narrow, 6, nullptr, nullptr), 6);
  EXPECT_EQ(std::string(narrow, 6), std::string("\xC3\xA9t\xC3\xA9\0", 6));
}

// Bad calls and flags a code page does not take: 0 and the last error saying why.
TEST(CodePageConversion, BadCallsAndFlags) {
  WCHAR wide[8];
  char narrow[8];
  char shared[16] = "abc";
  struct Row {
    const char* what;
    int (*call)(WCHAR*, char*, char*);
    DWORD expected;
  };
  const Row rows[] = {
      {"no input", [](WCHAR* w, char*, char*) { return MultiByteToWideChar(CP_UTF8, 0, nullptr, 3, w, 8); },
       ERROR_INVALID_PARAMETER},
      {"zero input length", [](WCHAR* w, char*, char*) { return MultiByteToWideChar(CP_UTF8, 0, "abc", 0, w, 8); },
       ERROR_INVALID_PARAMETER},
      {"input length below -1",
       [](WCHAR* w, char*, char*) { return MultiByteToWideChar(CP_UTF8, 0, "abc", -2, w, 8); }, ERROR_INVALID_PARAMETER},
      {"negative output size", [](WCHAR* w, char*, char*) { return MultiByteToWideChar(CP_UTF8, 0, "abc", 3, w, -1); },
       ERROR_INVALID_PARAMETER},
      {"a size but no buffer",
       [](WCHAR*, char*, char*) { return MultiByteToWideChar(CP_UTF8, 0, "abc", 3, nullptr, 8); },
       ERROR_INVALID_PARAMETER},
      {"output over the input",
       [](WCHAR*, char*, char* s) { return MultiByteToWideChar(CP_UTF8, 0, s, 3, reinterpret_cast<LPWSTR>(s + 2), 4); },
       ERROR_INVALID_PARAMETER},
      {"unknown code page", [](WCHAR* w, char*, char*) { return MultiByteToWideChar(1251, 0, "abc", 3, w, 8); },
       ERROR_INVALID_PARAMETER},
      {"wide: no input",
       [](WCHAR*, char* n, char*) { return WideCharToMultiByte(CP_UTF8, 0, nullptr, 3, n, 8, nullptr, nullptr); },
       ERROR_INVALID_PARAMETER},
      {"wide: zero input length",
       [](WCHAR*, char* n, char*) { return WideCharToMultiByte(CP_UTF8, 0, u"abc", 0, n, 8, nullptr, nullptr); },
       ERROR_INVALID_PARAMETER},
      {"wide: a size but no buffer",
       [](WCHAR*, char*, char*) { return WideCharToMultiByte(CP_UTF8, 0, u"abc", 3, nullptr, 8, nullptr, nullptr); },
       ERROR_INVALID_PARAMETER},
      {"UTF-8 has no default character",
       [](WCHAR*, char* n, char*) { return WideCharToMultiByte(CP_UTF8, 0, u"abc", 3, n, 8, "?", nullptr); },
       ERROR_INVALID_PARAMETER},
      {"UTF-8 has no used-default flag",
       [](WCHAR*, char* n, char*) {
         BOOL used;
         return WideCharToMultiByte(CP_UTF8, 0, u"abc", 3, n, 8, nullptr, &used);
       },
       ERROR_INVALID_PARAMETER},
      {"WC_ERR_INVALID_CHARS is UTF-8's",
       [](WCHAR*, char* n, char*) {
         return WideCharToMultiByte(CP_ACP, WC_ERR_INVALID_CHARS, u"abc", 3, n, 8, nullptr, nullptr);
       },
       ERROR_INVALID_FLAGS},
      {"UTF-8 takes no MB_PRECOMPOSED",
       [](WCHAR* w, char*, char*) { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "abc", 3, w, 8); },
       ERROR_INVALID_FLAGS},
      {"UTF-8 takes no WC_NO_BEST_FIT_CHARS",
       [](WCHAR*, char* n, char*) {
         return WideCharToMultiByte(CP_UTF8, WC_NO_BEST_FIT_CHARS, u"abc", 3, n, 8, nullptr, nullptr);
       },
       ERROR_INVALID_FLAGS},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    SetLastError(kUntouched);
    EXPECT_EQ(row.call(wide, narrow, shared), 0);
    EXPECT_EQ(GetLastError(), row.expected);
  }
}

// ---- The ANSI code page (windows-1252) ----

TEST(CodePageConversion, AnsiCodePageReplacesWhatItLacks) {
  // The euro sign and S caron live in 80-9F; U+0100 and CJK are not in the code page at all.
  char out[8];
  BOOL used = TRUE;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u20AC\u0160\u00E9", 3, out, 8, nullptr, &used), 3);
  EXPECT_EQ(std::string(out, 3), "\x80\x8A\xE9");
  EXPECT_EQ(used, FALSE);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"A\u0100\u4E2D\U0001F600", 5, out, 8, nullptr, &used), 4);
  EXPECT_EQ(std::string(out, 4), "A???");
  EXPECT_EQ(used, TRUE);
  // A default character of the caller's, and a lone surrogate that becomes it.
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"x\xD800y", 3, out, 8, "#", &used), 3);
  EXPECT_EQ(std::string(out, 3), "x#y");
  // Every byte has a character, so the strict flag refuses nothing; the undefined bytes round-trip.
  const Converted wide = Wide(CP_ACP, MB_ERR_INVALID_CHARS, "\x80\x81\x9F\xFF");
  ASSERT_TRUE(wide.ok);
  EXPECT_EQ(wide.wide, u"\u20AC\u0081\u0178\u00FF");
  EXPECT_EQ(Narrow(CP_ACP, 0, wide.wide).narrow, "\x80\x81\x9F\xFF");
  // U+0080 is a C1 control the code page does not have (its byte 80 is the euro sign).
  EXPECT_EQ(Narrow(CP_ACP, 0, u"\u0080").narrow, "?");
}

}  // namespace
