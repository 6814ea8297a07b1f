#include <windows.h>

#include <gtest/gtest.h>

namespace {

struct Row {
  const char* what;
  const char16_t* a;
  int lengthA;
  const char16_t* b;
  int lengthB;
  BOOL ignoreCase;
  int expected;
};

TEST(CompareStringOrdinal, OrdersByUnitsAndFoldsToUpperCase) {
  const Row rows[] = {
      {"the same text", u"guide", -1, u"guide", -1, FALSE, CSTR_EQUAL},
      {"case counts by default", u"a", -1, u"A", -1, FALSE, CSTR_GREATER_THAN},
      {"case ignored when asked", u"Guide.INI", -1, u"guide.ini", -1, TRUE, CSTR_EQUAL},
      // '_' lies between the upper- and lower-case letters: upper case decides.
      {"folding is to upper case", u"_", -1, u"a", -1, TRUE, CSTR_GREATER_THAN},
      {"a prefix is less", u"gui", -1, u"guide", -1, FALSE, CSTR_LESS_THAN},
      {"counted lengths stop early", u"guideX", 5, u"guideY", 5, FALSE, CSTR_EQUAL},
      {"embedded zeros are compared", u"a\0b", 3, u"a\0c", 3, FALSE, CSTR_LESS_THAN},
      {"beyond the basic plane", u"\U00010428", -1, u"\U00010400", -1, TRUE, CSTR_EQUAL},
      {"empty texts", u"", 0, u"", -1, TRUE, CSTR_EQUAL},
  };
  for (const Row& row : rows)
    EXPECT_EQ(CompareStringOrdinal(row.a, row.lengthA, row.b, row.lengthB, row.ignoreCase), row.expected) << row.what;
}

TEST(CompareStringOrdinal, RefusesAMissingTextOrABadLength) {
  SetLastError(0);
  EXPECT_EQ(CompareStringOrdinal(nullptr, -1, u"a", -1, FALSE), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_EQ(CompareStringOrdinal(u"a", -2, u"a", -1, FALSE), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
