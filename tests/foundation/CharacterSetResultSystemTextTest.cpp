// Character-set results over texts that the test gives the platform for a code, which only
// the stand-in allows.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/kernel/SystemMessageTable.h"
#include "foundation/CharacterSetResult.h"

namespace {

// Gives the platform a chosen text for one code while the object lives.
class SystemText {
 public:
  SystemText(DWORD code, std::u16string text) : code_(code) { core::OverrideSystemMessageForTesting(code, std::move(text)); }
  ~SystemText() { core::OverrideSystemMessageForTesting(code_, std::nullopt); }

 private:
  DWORD code_;
};

TEST(WindowsCharacterSetResult, DescriptionIsTheExactUserVisibleText) {
  struct Row {
    DWORD code;
    const char* operation;
    std::u16string systemText;  // empty: the platform's own
    std::string expected;
  } rows[] = {
      {1113, "TranscodeU16ToU8", u"X\r\n", "WindowsCharacterSetResult: Error 1113 (X) in TranscodeU16ToU8"},
      {1113, "TranscodeU8ToU16", u"",
       "WindowsCharacterSetResult: Error 1113 (No mapping for the Unicode character exists in the target "
       "multi-byte code page.) in TranscodeU8ToU16"},
      {1113, "", u"X\r\n", "WindowsCharacterSetResult: Error 1113 (X)"},        // no operation, no " in "
      {1113, nullptr, u"X\r\n", "WindowsCharacterSetResult: Error 1113 (X)"},
      {1113, "op", u"no break", "WindowsCharacterSetResult: Error 1113 (no break) in op"},  // nothing to cut
      {1113, "op", u"one\r\ntwo", "WindowsCharacterSetResult: Error 1113 (one) in op"},     // cut at the middle break
      {1113, "op", u"a\r\nb\r\n", "WindowsCharacterSetResult: Error 1113 (a\r\nb) in op"},  // only the last one goes
      {0x1F, "op", u"", "WindowsCharacterSetResult: Error 31 () in op"},  // the platform has no text
  };
  for (const Row& row : rows) {
    std::optional<SystemText> text;
    if (!row.systemText.empty()) text.emplace(row.code, row.systemText);
    const WindowsCharacterSetResult result(row.code, row.operation);
    EXPECT_EQ(std::string(result.what()), row.expected);
    EXPECT_EQ(std::string(result.MessageUtf8().view()), row.expected);
    EXPECT_FALSE(result.Succeeded());
    EXPECT_EQ(result.Code(), row.code);
  }
  EXPECT_TRUE(WindowsCharacterSetResult(0, "op").Succeeded());
}

// No constructor fills the context and the quoted text; a derived class shows where they go.
template <class Base>
struct WithContext : Base {
  template <class... A>
  explicit WithContext(A... args) : Base(args...) {
    this->context_ = "ctx";
    this->quoted_ = "q";
  }
};

TEST(CharacterSetResult, ContextAndQuotedTextHaveTheirPlaces) {
  EXPECT_EQ(std::string(WithContext<CharacterSetResult>(10, "op").what()),
            "CharacterSetResult: ctx: UErrorCode=10 [U_INVALID_CHAR_FOUND] in op [\"q\"]");
  const SystemText text(1113, u"X\r\n");
  // The Windows form shows the context but never the quoted text.
  EXPECT_EQ(std::string(WithContext<WindowsCharacterSetResult>(1113u, "op").what()),
            "WindowsCharacterSetResult: ctx: Error 1113 (X) in op");
}

}  // namespace
