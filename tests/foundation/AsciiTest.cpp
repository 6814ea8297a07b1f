#include "foundation/Ascii.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

U8Ref Ref(std::string_view s) { return U8Ref(s); }

TEST(Ascii, CaseTablesChangeOnlyAsciiLetters) {
  for (int b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const bool upper = b >= 'A' && b <= 'Z';
    const bool lower = b >= 'a' && b <= 'z';
    EXPECT_EQ(Ascii::kLowering[b], upper ? b + 32 : b);
    EXPECT_EQ(Ascii::kRaising[b], lower ? b - 32 : b);
  }
}

TEST(Ascii, EqualsIgnoringCase) {
  struct Row {
    const char* what;
    std::string_view a, b;
    bool equal;
  };
  const Row rows[] = {
      {"letters of either case", "ABC", "abc", true},
      {"mixed case and punctuation", "OpenFolder:", "openfolder:", true},
      {"lengths differ", "ABC", "ABCD", false},
      {"two empty views", "", "", true},
      {"an empty and a non-empty view", "", "a", false},
      {"non-ASCII letters keep their case (C9 vs E9)", "\xC9", "\xE9", false},
      {"the same non-ASCII bytes", "caf\xC3\xA9", "CAF\xC3\xA9", true},
      {"@ and ` sit next to the letters but are no letters", "@[`{", "`{@[", false},
      {"a difference in the last byte", "openfolder:", "openfolder;", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Ascii::EqualsIgnoringCase(Ref(row.a), Ref(row.b)), row.equal);
    EXPECT_EQ(Ascii::EqualsIgnoringCase(Ref(row.b), Ref(row.a)), row.equal);
  }
}

TEST(Ascii, StartsWithIgnoringCase) {
  struct Row {
    const char* what;
    std::string_view text, prefix;
    bool starts;
  };
  const Row rows[] = {
      {"any text starts with the empty prefix", "abc", "", true},
      {"the empty text starts with the empty prefix", "", "", true},
      {"the empty text does not start with a", "", "a", false},
      {"a command prefix in upper case", "OPENFOLDER:x", "openfolder:", true},
      {"the prefix is the whole text", "close:", "CLOSE:", true},
      {"a text shorter than the prefix", "open", "openfolder:", false},
      {"a different prefix", "openexecutable:x", "openfolder:", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Ascii::StartsWithIgnoringCase(Ref(row.text), Ref(row.prefix)), row.starts);
  }
}

}  // namespace
