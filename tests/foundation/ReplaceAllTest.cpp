#include "foundation/ReplaceAll.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "WideText.h"

namespace {

TEST(ReplaceAll, ReplacesEveryOccurrenceWithoutRescanning) {
  struct Case {
    WStringView text, pattern, replacement, expected;
  } cases[] = {
      {WIDE("a.b.c"), WIDE("."), WIDE("\\."), WIDE("a\\.b\\.c")},
      {WIDE("aaa"), WIDE("aa"), WIDE("a"), WIDE("aa")},     // continues after each replacement
      {WIDE("abab"), WIDE("ab"), WIDE("abab"), WIDE("abababab")},  // a replacement is never searched again
      {WIDE("xyz"), WIDE("q"), WIDE("r"), WIDE("xyz")},
      {WIDE(""), WIDE("a"), WIDE("b"), WIDE("")},
      {WIDE("abc"), WIDE(""), WIDE("-"), WIDE("abc")},  // an empty pattern matches nowhere
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, ReplaceAll(U16Ref(c.text), U16Ref(c.pattern), U16Ref(c.replacement)).view());
  }
  // Longer than the 256-unit hint.
  const WString many(300, WIDE('x'));
  EXPECT_EQ(600u, ReplaceAll(U16Ref(many), U16Ref(WStringView(WIDE("x"))), U16Ref(WStringView(WIDE("yy")))).size());
}

}  // namespace
