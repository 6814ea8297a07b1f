// The initialisation-file calls, over the test program's profile store in memory.
#include <windows.h>

#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>

namespace {

constexpr const char16_t* kFile = u"PrivateProfileTest.ini";

TEST(PrivateProfile, ReadsWhatWasWrittenAndCutsItToTheBuffer) {
  ASSERT_TRUE(WritePrivateProfileStringW(u"Section", u"Entry", u"abcdef", kFile));
  WCHAR buffer[8];
  EXPECT_EQ(GetPrivateProfileStringW(u"section", u"ENTRY", u"x", buffer, 8, kFile), 6u);
  EXPECT_EQ(std::u16string(buffer), u"abcdef");
  // Cut to the buffer less one unit, and still terminated.
  EXPECT_EQ(GetPrivateProfileStringW(u"Section", u"Entry", u"x", buffer, 4, kFile), 3u);
  EXPECT_EQ(std::u16string(buffer), u"abc");
  // Removing the section takes its entries.
  ASSERT_TRUE(WritePrivateProfileStringW(u"Section", nullptr, nullptr, kFile));
  EXPECT_EQ(GetPrivateProfileStringW(u"Section", u"Entry", nullptr, buffer, 8, kFile), 0u);
  EXPECT_EQ(std::u16string(buffer), u"");
}

TEST(PrivateProfile, AMissingEntryGivesTheDefaultWithoutTrailingBlanks) {
  WCHAR buffer[16];
  EXPECT_EQ(GetPrivateProfileStringW(u"Section", u"Missing", u"fallback  ", buffer, 16, kFile), 8u);
  EXPECT_EQ(std::u16string(buffer), u"fallback");
}

TEST(PrivateProfile, RefusesWhatItCannotAnswer) {
  WCHAR buffer[4] = {u'z', 0, 0, 0};
  SetLastError(0);
  // A null entry asks for the names of a section's entries; core keeps no such list.
  EXPECT_EQ(GetPrivateProfileStringW(u"Section", nullptr, u"x", buffer, 4, kFile), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(buffer[0], 0);
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringW(nullptr, u"Entry", u"x", kFile));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(PrivateProfile, TheApplicationReadsATextLongerThanItsFirstBuffer) {
  CWinApp app(u"PrivateProfileTest");
  const std::u16string longText(1000, u'7');
  ASSERT_TRUE(app.WriteProfileStringW(u"Section", u"Long", longText.c_str()));
  EXPECT_EQ(std::u16string(app.GetProfileStringW(u"Section", u"Long").GetString()), longText);
  EXPECT_FALSE(app.WriteProfileStringW(nullptr, u"Long", u"x"));
}

}  // namespace
