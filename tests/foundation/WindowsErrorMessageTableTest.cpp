// Messages of a module whose table the test fills at run time, which only the stand-in
// allows: on Windows a message table is a compiled resource.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include <windows.h>

#include "core/kernel/SystemMessageTable.h"
#include "foundation/WindowsError.h"

namespace {

// A module whose message table stands in for the platform's texts, so each test decides
// what the platform says.
class WindowsErrorTest : public ::testing::Test {
 protected:
  const HMODULE module = reinterpret_cast<HMODULE>(std::uintptr_t{0x6000});
  void Say(DWORD code, std::u16string text) { core::RegisterModuleMessageTable(module, {{code, std::move(text)}}); }
  void TearDown() override { core::UnregisterModuleMessageTable(module); }
};

std::string Message(const Windows::Error& error) { return std::string(error.MessageUtf8().view()); }

TEST_F(WindowsErrorTest, MessageIsTrimmedAndCarriesNoTerminator) {
  struct Row {
    DWORD code;
    std::u16string systemText;
    std::string expected;
    std::string narrow;  // what() in windows-1252
  } rows[] = {
      {5, u"X\r\n", "Windows Error 0x5: X", "Windows Error 0x5: X"},  // the table's line end goes
      {0x20000001, u" \t\r\nInner\r\nline \r\n", "Windows Error 0x20000001: Inner\r\nline",
       "Windows Error 0x20000001: Inner\r\nline"},  // inner breaks stay
      {7, u"\u00A0wide\u00A0", "Windows Error 0x7: \xC2\xA0wide\xC2\xA0",
       "Windows Error 0x7: \xA0wide\xA0"},  // bytes above 0x7F are not blanks
  };
  for (const Row& row : rows) {
    Say(row.code, row.systemText);
    const Windows::Error error(row.code, module);
    const UStringRef<UTF8> message = error.MessageUtf8();
    EXPECT_EQ(std::string(message.view()), row.expected);
    // The stored zero byte is not part of the text, so a copy of it holds no NUL ...
    EXPECT_EQ(std::string(message.view()).find('\0'), std::string::npos);
    // ... and what() is the same text as a C string.
    EXPECT_STREQ(error.what(), row.narrow.c_str());
  }
}

TEST_F(WindowsErrorTest, MessageIsBuiltOnceAndACopyBuildsItAgain) {
  Say(9, u"First\r\n");
  const Windows::Error error(9, module);
  const std::string first = Message(error);
  const char* narrow = error.what();
  Say(9, u"Second\r\n");  // the platform's text changes; the built message must not
  EXPECT_EQ(Message(error), "Windows Error 0x9: First");
  EXPECT_EQ(error.what(), narrow);

  const Windows::Error copy(error);  // keeps code and module, not the texts
  EXPECT_EQ(copy.Code(), 9u);
  EXPECT_EQ(copy.Module(), module);
  EXPECT_EQ(Message(copy), "Windows Error 0x9: Second");
  Windows::Error assigned(1);
  assigned = error;
  EXPECT_STREQ(assigned.what(), "Windows Error 0x9: Second");
}

TEST_F(WindowsErrorTest, NarrowTextUsesTheAnsiCodePage) {
  Say(10, u"caf\u00E9 \u03A9");
  const Windows::Error error(10, module);
  EXPECT_EQ(Message(error), "Windows Error 0xa: caf\xC3\xA9 \xCE\xA9");  // UTF-8 keeps the omega
  EXPECT_STREQ(error.what(), "Windows Error 0xa: caf\xE9 ?");           // windows-1252 has no omega
}

TEST_F(WindowsErrorTest, UndecodableTextFallsBackToTheClassName) {
  Say(11, std::u16string(u"bad \xD800 surrogate"));
  const Windows::Error error(11, module);
  EXPECT_EQ(Message(error), "class Windows::Error");
  EXPECT_STREQ(error.what(), "class Windows::Error");
  // Nothing was kept, so a later request tries again.
  Say(11, u"good");
  EXPECT_EQ(Message(error), "Windows Error 0xb: good");
}

}  // namespace
