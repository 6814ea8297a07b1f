// Telling which navigation is the guide page's, and cutting long names for messages.
#include <gtest/gtest.h>

#include <string>

#include "app/GuidePageFailure.h"
#include "app/LauncherMessage.h"

namespace {

TEST(GuidePageFailure, AFailedAddressNamesTheGuidePageInEitherForm) {
  const UStringRef<UTF8> page(std::string_view("C:\\Gen\\Tsr Guide\\runvane.html"));
  struct Case {
    std::string_view address;
    bool names;
  } cases[] = {
      {"C:\\Gen\\Tsr Guide\\runvane.html", true},
      {"c:/gen/TSR GUIDE/runvane.html", true},  // the platform ignores ASCII letter case
      {"file:///C:/Gen/Tsr%20Guide/runvane.html", true},
      {"FILE:///c:/Gen/Tsr%20Guide/Runvane.html", true},
      {"file:///C:/Gen/Tsr%20Guide/other.html", false},
      {"file://server/C:/Gen/Tsr%20Guide/runvane.html", false},  // another machine's file
      {"http://127.0.0.1/C:/Gen/Tsr%20Guide/runvane.html", false},
      {"file:C:/Gen/Tsr%20Guide/runvane.html", false},  // no authority: no file address
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.names, NamesGuidePage(UStringRef<UTF8>(c.address), page)) << c.address;
}

TEST(LauncherMessage, LongNamesAreCutAfter300CharactersNeverInsideOne) {
  const std::string e = "\xC3\xA9";  // é, two bytes
  const std::string ellipsis = "\xE2\x80\xA6";
  struct Case {
    std::string name;
    std::string shown;
  } cases[] = {
      {std::string(300, 'a'), std::string(300, 'a')},
      {std::string(301, 'a'), std::string(300, 'a') + ellipsis},
      {std::string(299, 'a') + e + e, std::string(299, 'a') + e + ellipsis},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.shown, std::string(NameForMessage(UStringRef<UTF8>(std::string_view(c.name))).view()))
        << c.name.size();
  }
}

}  // namespace
