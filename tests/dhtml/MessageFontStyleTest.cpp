// The body style built from the system's message font.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include <windows.h>

#include "Shared/Windows/MFC/Dialogs/MessageFontStyle.h"
#include "resizable/SystemMessageFont.h"
#include "support/FixedDesktopFacts.h"

namespace {

LOGFONTW Font(const char16_t* face, LONG height, LONG weight, BYTE italic) {
  LOGFONTW font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfItalic = italic;
  for (int i = 0; face[i] != 0 && i < LF_FACESIZE - 1; ++i) font.lfFaceName[i] = face[i];
  return font;
}

TEST(MessageFontStyle, RuleFromTheFont) {
  struct Case {
    LOGFONTW font;
    const char* expected;
  } cases[] = {
      {Font(u"Segoe UI", -12, 400, 0),
       "font-family: Segoe UI; font-size: 12; font-weight: 400; font-style: normal; overflow: auto"},
      // A positive height (cell height) is written as it is.
      {Font(u"Tahoma", 15, 700, 0), "font-family: Tahoma; font-size: 15; font-weight: 700; font-style: normal; overflow: auto"},
      {Font(u"Tahoma", -11, 400, 1), "font-family: Tahoma; font-size: 11; font-weight: 400; font-style: italic; overflow: auto"},
      // Any nonzero italic byte is italic; a negative weight stays signed.
      {Font(u"X", 0, -1, 0xFF), "font-family: X; font-size: 0; font-weight: -1; font-style: italic; overflow: auto"},
      {Font(u"\u00C9cole", std::numeric_limits<LONG>::min(), 0, 0),
       "font-family: \xC3\x89" "cole; font-size: 2147483648; font-weight: 0; font-style: normal; overflow: auto"},
  };
  for (const Case& c : cases) EXPECT_EQ(std::string(MessageFontStyle(c.font).view()), c.expected);
}

TEST(MessageFontStyle, FaceNameFillingTheWholeArrayEndsWithIt) {
  LOGFONTW font = Font(u"", -12, 400, 0);
  for (int i = 0; i < LF_FACESIZE; ++i) font.lfFaceName[i] = u'a';
  const std::string style(MessageFontStyle(font).view());
  EXPECT_EQ(style.substr(0, 13 + LF_FACESIZE + 1), "font-family: " + std::string(LF_FACESIZE, 'a') + ";");
}

TEST(MessageFontStyle, SystemMessageFontComesFromTheDesktop) {
  DefaultDesktopFacts().SetMessageFont(u"Cantarell", -15);
  const LOGFONTW font = SystemMessageFont();
  EXPECT_EQ(font.lfHeight, -15);
  EXPECT_EQ(std::u16string(font.lfFaceName), u"Cantarell");
  DefaultDesktopFacts() = FixedDesktopFacts();
}

}  // namespace
