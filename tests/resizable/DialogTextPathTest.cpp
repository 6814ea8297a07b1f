// Dialog texts through the named-variable text path: unchanged without an override, replaced
// by an attached one, refused when they are not valid UTF-16.
#include "resizable/DialogTextPath.h"

#include <gtest/gtest.h>

#include "support/TemplateBytes.h"
#include "WideText.h"
#include "foundation/CharacterSetResult.h"
#include "foundation/FormatOverrideContext.h"
#include "resizable/DialogTemplateRewriter.h"

namespace {

std::vector<BYTE> RewriteThroughTextPath(const TemplateBytes& t) {
  return DialogTemplateRewriter(&DialogTextPath).Rewrite(t.Bytes().data(), t.Size());
}

TEST(DialogTextPath, TextsComeBackAsTheyWent) {
  const WStringView captions[] = {
      WIDE("Tessarin Installation Guide"),
      WIDE("Setup {version} } {"),          // template syntax
      WIDE("50%\t{x}\r\n\r"),                // line control bytes and a percent sign
      WIDE("Gu\u00EDa de instalaci\u00F3n \u5B89\u88C5 \U0001F600"),  // beyond ASCII, a surrogate pair
      WIDE(""),
  };
  for (WStringView caption : captions) {
    const TemplateBytes t = MainWindowTemplate(caption);
    EXPECT_EQ(RewriteThroughTextPath(t), t.Bytes()) << std::string(caption.begin(), caption.end());
  }
}

TEST(DialogTextPath, AnAttachedOverrideReplacesTheText) {
  const FormatOverridePair pairs[] = {{std::string_view("Tessarin Installation Guide"), std::string_view("Guide {_obrace}1{_cbrace}")}};
  const FormatOverrideTable table(std::begin(pairs), std::end(pairs));
  FormatOverrideLink link;
  link.table = &table;
  CurrentFormatOverrideContext().Attach(link);
  std::vector<BYTE> rewritten;
  try {
    rewritten = RewriteThroughTextPath(MainWindowTemplate());
  } catch (...) {
    CurrentFormatOverrideContext().Detach(link);
    throw;
  }
  CurrentFormatOverrideContext().Detach(link);
  EXPECT_EQ(rewritten, MainWindowTemplate(WIDE("Guide {1}")).Bytes());
}

TEST(DialogTextPath, AnUnpairedSurrogateIsRefused) {
  const WCHAR broken[] = {WIDE('A'), 0xD800, WIDE('B')};
  EXPECT_THROW(DialogTextPath(UStringRef<UTF16>(broken, 3)), WindowsCharacterSetResult);
}

}  // namespace
