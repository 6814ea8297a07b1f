#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include <string>
#include <vector>

#include "core/kernel/UtfCodec.h"

namespace {

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

struct Utf8Case {
  const char* what;
  std::string bytes;
  bool wellFormed;
  std::u16string lenient;  // the strict result too, when well-formed
};

const std::vector<Utf8Case> kUtf8Cases = {
    // Boundaries of each sequence length are accepted.
    {"U+007F, the last one-byte value", "\x7F", true, u"\u007F"},
    {"U+0080, the first two-byte value", "\xC2\x80", true, u"\u0080"},
    {"U+07FF, the last two-byte value", "\xDF\xBF", true, u"\u07FF"},
    {"U+0800, the first three-byte value", "\xE0\xA0\x80", true, u"\u0800"},
    {"U+D7FF, just below the surrogates", "\xED\x9F\xBF", true, u"\uD7FF"},
    {"U+E000, just above the surrogates", "\xEE\x80\x80", true, u"\uE000"},
    {"U+FFFF, a noncharacter is still well-formed", "\xEF\xBF\xBF", true, u"\uFFFF"},
    {"U+10000, the first four-byte value", "\xF0\x90\x80\x80", true, u"\U00010000"},
    {"U+10FFFF, the last code point", "\xF4\x8F\xBF\xBF", true, u"\U0010FFFF"},
    {"an embedded zero byte is text", std::string("a\0b", 3), true, std::u16string(u"a\0b", 3)},
    // Invalid bytes: each one is its own maximal subpart.
    {"a continuation byte without a lead", "\x80", false, u"\uFFFD"},
    {"two stray continuation bytes", "\x80\xBF", false, u"\uFFFD\uFFFD"},
    {"FF never occurs", "a\xFF" "b", false, u"a\uFFFDb"},
    {"FE never occurs", "\xFE", false, u"\uFFFD"},
    // Overlong forms: the lead or the second byte is out of range, so every byte is replaced.
    {"overlong two-byte '/' (C0 AF)", "\xC0\xAF", false, u"\uFFFD\uFFFD"},
    {"overlong two-byte with C1", "\xC1\xBF", false, u"\uFFFD\uFFFD"},
    {"overlong three-byte (E0 80 AF)", "\xE0\x80\xAF", false, u"\uFFFD\uFFFD\uFFFD"},
    {"overlong four-byte (F0 8F BF BF)", "\xF0\x8F\xBF\xBF", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    // Encoded surrogates.
    {"high surrogate D800 (ED A0 80)", "\xED\xA0\x80", false, u"\uFFFD\uFFFD\uFFFD"},
    {"low surrogate DFFF (ED BF BF)", "\xED\xBF\xBF", false, u"\uFFFD\uFFFD\uFFFD"},
    {"an encoded surrogate pair (CESU-8)", "\xED\xA0\xBD\xED\xB8\x80", false, std::u16string(6, u'\uFFFD')},
    // Beyond U+10FFFF.
    {"U+110000 (F4 90 80 80)", "\xF4\x90\x80\x80", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"lead byte F5", "\xF5\x80\x80\x80", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"five-byte form", "\xF8\x88\x80\x80\x80", false, std::u16string(5, u'\uFFFD')},
    // Truncated sequences: the valid prefix is one maximal subpart.
    {"two-byte lead at the end", "a\xC3", false, u"a\uFFFD"},
    {"three-byte sequence cut after two", "\xE2\x82", false, u"\uFFFD"},
    {"four-byte sequence cut after three", "\xF0\x9F\x98", false, u"\uFFFD"},
    {"truncated sequence followed by ASCII", "\xE2\x82" "A", false, u"\uFFFDA"},
    {"truncated sequence followed by a lead", "\xF0\x9F\xC3\xA9", false, u"\uFFFD\u00E9"},
    // The standard's example of maximal subparts, mixed with ASCII.
    {"61 F1 80 80 E1 80 C2 62 80 63 80 BF 64", "a\xF1\x80\x80\xE1\x80\xC2" "b\x80" "c\x80\xBF" "d", false,
     u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
};

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

struct Utf16Case {
  const char* what;
  std::u16string units;
  bool wellFormed;
  std::string lenient;
};

const std::vector<Utf16Case> kUtf16Cases = {
    {"a surrogate pair", u"\U0001F600", true, "\xF0\x9F\x98\x80"},
    {"the last code point", u"\U0010FFFF", true, "\xF4\x8F\xBF\xBF"},
    {"U+FFFF below the surrogates' range end", u"\uFFFF", true, "\xEF\xBF\xBF"},
    {"a lone high surrogate", std::u16string(1, u'\xD83D'), false, "\xEF\xBF\xBD"},
    {"a high surrogate before ASCII", std::u16string{u'\xD83D', u'a'}, false, "\xEF\xBF\xBD" "a"},
    {"a lone low surrogate", std::u16string{u'a', u'\xDE00'}, false, "a\xEF\xBF\xBD"},
    {"a pair in the wrong order", std::u16string{u'\xDE00', u'\xD83D'}, false, "\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"two high surrogates, then a low one", std::u16string{u'\xD83D', u'\xD83D', u'\xDE00'}, false,
     "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
};

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

// The whole-text conversions size their output for the worst case in one pass: every table
// case, and texts made only of the widest replacements, come out as the calls give them.
TEST(WholeTextConversion, AgreesWithTheCallsInOnePass) {
  for (const auto& c : kUtf8Cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Utf::StrictUtf16(c.bytes), c.wellFormed ? std::optional<std::u16string>(c.lenient) : std::nullopt);
    EXPECT_EQ(Utf::LenientUtf16(c.bytes), c.lenient);
  }
  for (const auto& c : kUtf16Cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Utf::StrictUtf8(c.units), c.wellFormed ? std::optional<std::string>(c.lenient) : std::nullopt);
    EXPECT_EQ(Utf::LenientUtf8(c.units), c.lenient);
  }
  std::string replacements;
  for (int i = 0; i < 100; ++i) replacements += "\xEF\xBF\xBD";
  EXPECT_EQ(Utf::LenientUtf8(std::u16string(100, u'\xDC00')), replacements);
  EXPECT_EQ(Utf::LenientUtf16(std::string(100, '\x80')), std::u16string(100, u'\xFFFD'));
  EXPECT_EQ(Utf::StrictUtf8(std::u16string(100, u'\x20AC')), [] {
    std::string euros;
    for (int i = 0; i < 100; ++i) euros += "\xE2\x82\xAC";
    return euros;
  }());
  EXPECT_EQ(Utf::StrictUtf8(u""), std::optional<std::string>(""));
  EXPECT_EQ(Utf::LenientUtf16(""), u"");
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
