#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "foundation/CodePageNames.h"

namespace {

TEST(WindowsCodePageNames, HoldsTheFourteenNamesInByteOrder) {
  std::vector<std::string> names;
  for (const auto& name : WindowsCodePageNames()) names.emplace_back(name.view());
  const std::vector<std::string> expected = {
      "windows-1250", "windows-1251", "windows-1252", "windows-1253", "windows-1254",
      "windows-1255", "windows-1256", "windows-1257", "windows-1258", "windows-874",
      "windows-932",  "windows-936",  "windows-949",  "windows-950",
  };
  EXPECT_EQ(expected, names);  // "windows-874" sorts after "windows-1258": bytes, not numbers
  EXPECT_EQ(1u, WindowsCodePageNames().count(UStringRef<UTF8>(std::string_view("windows-932"))));
  EXPECT_EQ(0u, WindowsCodePageNames().count(UStringRef<UTF8>(std::string_view("Windows-1252"))));
}

}  // namespace
