// GTK's font names as the platform's LOGFONTW: sizes in points at the screen's resolution or
// in pixels, weight and slant words, the first of several families, long faces cut short.
#include <gtest/gtest.h>

#include <string>

#include "gtk/FontDescription.h"

namespace {

TEST(FontDescriptionTest, FontNamesBecomePixelRecords) {
  struct Case {
    const char* name;
    int dpi;
    LONG height;
    LONG weight;
    BYTE italic;
    std::u16string face;
  } cases[] = {
      {"Cantarell 11", 96, -15, 400, 0, u"Cantarell"},            // 14.67 pixels rounds up
      {"Cantarell 11", 120, -18, 400, 0, u"Cantarell"},           // 18.33 rounds down
      {"DejaVu Sans Bold Italic 9", 96, -12, 700, 1, u"DejaVu Sans"},
      {"Sans Oblique 10", 96, -13, 400, 1, u"Sans"},
      {"Noto Sans Semi-Bold 10", 96, -13, 600, 0, u"Noto Sans"},
      {"Noto Sans, Sans 12px", 144, -12, 400, 0, u"Noto Sans"},   // pixels ignore the resolution
      {"Sans", 96, -13, 400, 0, u"Sans"},                         // no size: 10 points
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.dpi));
    const LOGFONTW font = gtkui::LogFontOfFontName(c.name, c.dpi);
    EXPECT_EQ(font.lfHeight, c.height);
    EXPECT_EQ(font.lfWeight, c.weight);
    EXPECT_EQ(font.lfItalic, c.italic);
    EXPECT_EQ(std::u16string(font.lfFaceName), c.face);
  }
}

TEST(FontDescriptionTest, ALongFaceIsCutToTheRecordAndKeepsItsTerminator) {
  const LOGFONTW font = gtkui::LogFontOfFontName("Averyveryveryverylongfamilynamethatdoesnotfit 10", 96);
  EXPECT_EQ(std::u16string(font.lfFaceName), u"Averyveryveryverylongfamilyname");
  EXPECT_EQ(font.lfFaceName[LF_FACESIZE - 1], 0);
}

}  // namespace
