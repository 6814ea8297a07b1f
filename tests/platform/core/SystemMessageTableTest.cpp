// The system's message table and the modules' tables that FormatMessage searches.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "core/kernel/SystemMessageTable.h"
#include "support/FormattedMessage.h"

namespace {

using formattedmessage::Allocated;
using formattedmessage::AllocatedA;
using formattedmessage::FakeModule;
using formattedmessage::kFromSystem;

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
