// The saved placement's text and value name.
#include "resizable/PlacementText.h"

#include <gtest/gtest.h>

#include <string>

#include <winuser.h>

#include "WideText.h"

namespace {

WString Of(const CopiedUString<UTF16>& s) { return WString(s.view()); }

TEST(PlacementText, FieldsInOrder) {
  struct Case {
    const char* what;
    PlacementFields fields;
    bool rectOnly;
    WStringView text;
  } const cases[] = {
      {"shown normally", {{100, 50, 700, 450}, SW_SHOWNORMAL, 0, {-1, -1}}, false, WIDE("100,50,700,450,1,0,-1,-1")},
      {"maximised keeps the normal rectangle", {{100, 50, 700, 450}, SW_SHOWMAXIMIZED, WPF_RESTORETOMAXIMIZED, {-1, -1}},
       false, WIDE("100,50,700,450,3,2,-1,-1")},
      {"rectangle only, whatever the state",
       {{100, 50, 700, 450}, SW_SHOWMAXIMIZED, WPF_RESTORETOMAXIMIZED, {-32000, -32000}}, true, WIDE("100,50,700,450,1,0,0,0")},
      {"negative coordinates", {{-1920, -8, -10, 1040}, SW_SHOWMINIMIZED, WPF_SETMINPOSITION, {-32000, -32000}}, false,
       WIDE("-1920,-8,-10,1040,2,1,-32000,-32000")},
      {"extremes", {{-2147483647 - 1, 2147483647, 0, 0}, SW_SHOWNORMAL, 0, {0, 0}}, false,
       WIDE("-2147483648,2147483647,0,0,1,0,0,0")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Of(MakePlacementText(c.fields, c.rectOnly)), c.text);
  }
}

TEST(PlacementText, ValueName) {
  EXPECT_EQ(Of(MakePlacementValueName(WStringView(WIDE("Main")))), WIDE("MainWindowPlacement"));
  EXPECT_EQ(Of(MakePlacementValueName(UStringRef<UTF16>())), WIDE("WindowPlacement"));
}

}  // namespace
