#include "foundation/TextEncoding.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "UnderWine.h"
#include "WideText.h"
#include "foundation/CharacterSetResult.h"
#include "foundation/WindowsError.h"

namespace {

std::string Narrow(const CopiedUString<UTF8>& s) { return std::string(s.view()); }
WString Wide(const CopiedUString<UTF16>& s) { return WString(s.view()); }

TEST(TextEncoding, StrictRoundTrips) {
  struct Row {
    const char* what;
    std::string_view utf8;
    WStringView utf16;
  };
  const Row rows[] = {
      {"empty", "", WIDE("")},
      {"C3 A9 is the single unit U+00E9", "\xC3\xA9", WIDE("\u00E9")},
      {"Latin, CJK and an emoji", "Gr\xC3\xBC\xC3\x9F \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80",
       WIDE("Gr\u00FC\u00DF \u4E2D\u6587 \U0001F600")},
      {"an embedded zero unit is text", std::string_view("a\0b", 3), WStringView(WIDE("a\0b"), 3)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Wide(TranscodeU8ToU16(U8Ref(row.utf8))), row.utf16);
    EXPECT_EQ(Narrow(TranscodeU16ToU8(U16Ref(row.utf16))), row.utf8);
  }
}

// Invalid input fails as a whole, with the platform's code and the operation's name.
TEST(TextEncoding, StrictRefusalNamesTheOperation) {
  const WCHAR loneHigh[] = {WIDE('a'), 0xD83D, WIDE('b')};
  struct Row {
    const char* what;
    void (*convert)(const WCHAR*);
    const char* operation;
  };
  const Row rows[] = {
      {"the lone byte FF", [](const WCHAR*) { TranscodeU8ToU16(U8Ref("\xFF")); }, "TranscodeU8ToU16"},
      {"a truncated sequence", [](const WCHAR*) { TranscodeU8ToU16(U8Ref("ok\xE2\x82")); }, "TranscodeU8ToU16"},
      {"an encoded surrogate", [](const WCHAR*) { TranscodeU8ToU16(U8Ref("\xED\xA0\x80")); }, "TranscodeU8ToU16"},
      {"a lone high surrogate", [](const WCHAR* s) { TranscodeU16ToU8(U16Ref(s, 3)); }, "TranscodeU16ToU8"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    try {
      row.convert(loneHigh);
      ADD_FAILURE() << "no exception";
    } catch (const WindowsCharacterSetResult& e) {
      EXPECT_EQ(e.Code(), static_cast<std::uint32_t>(ERROR_NO_UNICODE_TRANSLATION));
      EXPECT_FALSE(e.Succeeded());
      const std::string text = e.what();
      EXPECT_EQ(text.substr(text.size() - std::string(row.operation).size() - 4), std::string(" in ") + row.operation);
    }
  }
}

TEST(TextEncoding, LenientConversionsReplace) {
  const WCHAR loneHigh[] = {WIDE('x'), 0xD800};
  EXPECT_EQ(Wide(ConvertU8ToU16Lenient(U8Ref("a\xFF" "b\xE2\x82"))), WIDE("a\uFFFDb\uFFFD"));
  EXPECT_EQ(Narrow(ConvertU16ToU8Lenient(U16Ref(loneHigh, 2))), "x\xEF\xBF\xBD");
  // The ANSI code page is windows-1252: the euro sign is 80, U+0100 and CJK are not there.
  // Windows (and Wine) replace U+0100 by its best fit "A"; the stand-in has no best-fit table.
#ifdef _WIN32
  EXPECT_EQ(Narrow(ConvertU16ToACP(U16Ref(WIDE("\u20AC\u00E9\u0100\u4E2D")))), "\x80\xE9" "A?");
#else
  EXPECT_EQ(Narrow(ConvertU16ToACP(U16Ref(WIDE("\u20AC\u00E9\u0100\u4E2D")))), "\x80\xE9??");
#endif
  EXPECT_EQ(Wide(ConvertACPToU16(U8Ref("\x80\xE9"))), WIDE("\u20AC\u00E9"));
  EXPECT_TRUE(ConvertU16ToU8Lenient(U16Ref(WIDE(""))).empty());
}

struct Storage {
  std::size_t size, capacity;
  bool isInline;
};

template <class E>
Storage StorageOf(const CopiedUString<E>& s) {
  return {s.size(), s.Capacity(), s.IsInline()};
}

// Inline up to 64 units of output, else a heap block of exactly the output's size.
TEST(TextEncoding, OutputStorageIsExact) {
  const std::string ascii(65, 'a');
  const WString wide(65, WIDE('a'));
  // 32 two-byte characters: 64 bytes of UTF-8, 32 units of UTF-16.
  WString e32;
  std::string e32utf8;
  for (int i = 0; i < 32; ++i) {
    e32 += WIDE('\u00E9');
    e32utf8 += "\xC3\xA9";
  }
  const std::string_view ascii64 = std::string_view(ascii).substr(0, 64);
  struct Row {
    const char* what;
    Storage actual;
    Storage expected;
  };
  const Row rows[] = {
      {"U8ToU16 of 64 units stays inline", StorageOf(TranscodeU8ToU16(U8Ref(ascii64))), {64, 64, true}},
      {"U8ToU16 of 65 units", StorageOf(TranscodeU8ToU16(U8Ref(ascii))), {65, 65, false}},
      {"U8ToU16 sizes by the output: 66 bytes are 33 units",
       StorageOf(TranscodeU8ToU16(U8Ref(e32utf8 + "\xC3\xA9"))), {33, 64, true}},
      {"U16ToU8 of 64 bytes stays inline", StorageOf(TranscodeU16ToU8(U16Ref(e32))), {64, 64, true}},
      {"U16ToU8 of 65 bytes", StorageOf(TranscodeU16ToU8(U16Ref(e32 + WIDE("a")))), {65, 65, false}},
      {"lenient U16ToU8 of 65 bytes", StorageOf(ConvertU16ToU8Lenient(U16Ref(wide))), {65, 65, false}},
      {"lenient U8ToU16 of 64 units", StorageOf(ConvertU8ToU16Lenient(U8Ref(ascii64))), {64, 64, true}},
      {"lenient U8ToU16 of 65 units", StorageOf(ConvertU8ToU16Lenient(U8Ref(ascii))), {65, 65, false}},
      {"to ACP, 65 bytes", StorageOf(ConvertU16ToACP(U16Ref(wide))), {65, 65, false}},
      {"from ACP, 65 units", StorageOf(ConvertACPToU16(U8Ref(ascii))), {65, 65, false}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(row.actual.size, row.expected.size);
    EXPECT_EQ(row.actual.capacity, row.expected.capacity);
    EXPECT_EQ(row.actual.isInline, row.expected.isInline);
  }
  EXPECT_EQ(Narrow(TranscodeU16ToU8(U16Ref(e32 + WIDE("a")))), e32utf8 + "a");
}

#ifdef _WIN32
// No code page has this number.
constexpr UINT kUnknownCodePage = 12345;
#else
// The stand-in knows only UTF-8 and windows-1252; Windows has Cyrillic too.
constexpr UINT kUnknownCodePage = 1251;
#endif

TEST(TextEncoding, PrimitivesAndTheirErrors) {
  // A zero length answers 0 without a platform call (which would refuse a null input).
  SetLastError(0);
  EXPECT_EQ(ToWide(CP_UTF8, 0, nullptr, 0, nullptr, 0), 0u);
  EXPECT_EQ(ToNarrow(CP_UTF8, 0, nullptr, 0, nullptr, 0), 0u);
  EXPECT_EQ(GetLastError(), 0u);

  WCHAR wide[4];
  EXPECT_EQ(ToWide(CP_UTF8, 0, "\xC3\xA9t\xC3\xA9", 5, nullptr, 0), 3u);
  EXPECT_EQ(ToWide(CP_UTF8, 0, "\xC3\xA9t\xC3\xA9", 5, wide, 4), 3u);
  EXPECT_EQ(WString(wide, 3), WIDE("\u00E9t\u00E9"));

  struct Row {
    const char* what;
    std::size_t (*call)();
    DWORD code;
    bool wineDiffers = false;  // Wine accepts what Windows refuses as documented
  };
  const Row rows[] = {
      {"an unknown code page", [] { return ToWide(kUnknownCodePage, 0, "a", 1, nullptr, 0); }, ERROR_INVALID_PARAMETER},
      // WC_ERR_INVALID_CHARS is for UTF-8 (and GB 18030) only; Wine takes it with CP_ACP too.
      {"flags the code page does not take",
       [] { return ToNarrow(CP_ACP, WC_ERR_INVALID_CHARS, WIDE("a"), 1, nullptr, 0); }, ERROR_INVALID_FLAGS, true},
      {"a buffer too small",
       [] {
         WCHAR out[2];
         return ToWide(CP_UTF8, 0, "abc", 3, out, 2);
       },
       ERROR_INSUFFICIENT_BUFFER},
      {"strict flags through the primitive",
       [] { return ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, "\xFF", 1, nullptr, 0); }, ERROR_NO_UNICODE_TRANSLATION},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    if (row.wineDiffers && UnderWine()) continue;
    try {
      row.call();
      ADD_FAILURE() << "no exception";
    } catch (const Windows::Error& e) {
      EXPECT_EQ(e.Code(), row.code);
    }
  }
}

TEST(TextEncoding, MakeTerminatedU16) {
  // Inline text with room: stays inline, terminated.
  const TerminatedU16 shortText = MakeTerminatedU16(CopiedUString<UTF16>(U16Ref(WIDE("short"))));
  EXPECT_TRUE(shortText.IsInline());
  EXPECT_EQ(WString(shortText.c_str()), WIDE("short"));
  EXPECT_EQ(shortText.size(), 5u);

  // 64 inline units leave no room for the zero: a block of max(65, 64) = 65 units.
  const WString full(64, WIDE('w'));
  const TerminatedU16 inlineFull = MakeTerminatedU16(CopiedUString<UTF16>(U16Ref(full)));
  EXPECT_FALSE(inlineFull.IsInline());
  EXPECT_EQ(inlineFull.Capacity(), 65u);
  EXPECT_EQ(WString(inlineFull.c_str()), full);

  // A heap block with spare room is taken over as it is.
  CopiedUString<UTF16> grown{U16Ref(full)};
  grown.Append(U16Ref(WIDE("x")));  // grows to max(65, 128, 64) = 128
  ASSERT_EQ(grown.Capacity(), 128u);
  const WCHAR* block = grown.data();
  const TerminatedU16 taken = MakeTerminatedU16(std::move(grown));
  EXPECT_EQ(taken.c_str(), block);
  EXPECT_EQ(taken.Capacity(), 128u);
  EXPECT_EQ(taken.size(), 65u);
  EXPECT_EQ(taken.c_str()[65], WIDE('\0'));

  // Moving terminated text keeps its terminator, inline units included.
  TerminatedU16 moved = MakeTerminatedU16(CopiedUString<UTF16>(U16Ref(WIDE("abc"))));
  const TerminatedU16 target = std::move(moved);
  EXPECT_EQ(WString(target.c_str()), WIDE("abc"));

  EXPECT_EQ(WString(MakeTerminatedU16(CopiedUString<UTF16>()).c_str()), WIDE(""));
}

TEST(TextEncoding, ConcatenateText) {
  const std::string forty(40, 'f');
  const auto empty = ConcatenateText(U8Ref(""), U8Ref(""));
  EXPECT_TRUE(empty.empty());
  EXPECT_TRUE(empty.IsInline());

  // 40 + 40 bytes: a heap block of exactly 80, not a grown one.
  const auto eighty = ConcatenateText(U8Ref(forty), U8Ref(std::string(40, 'g')));
  EXPECT_EQ(Narrow(eighty), forty + std::string(40, 'g'));
  EXPECT_FALSE(eighty.IsInline());
  EXPECT_EQ(eighty.Capacity(), 80u);

  // 30 + 34 units fit inline.
  const auto wide = ConcatenateText(U16Ref(WString(30, WIDE('a'))), U16Ref(WString(34, WIDE('b'))));
  EXPECT_TRUE(wide.IsInline());
  EXPECT_EQ(Wide(wide), WString(30, WIDE('a')) + WString(34, WIDE('b')));
}

}  // namespace
