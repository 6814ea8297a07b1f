// Addresses between the host's platform form and the files WebKit loads: drive paths through
// the prefix's drive, blanks, accented letters and percent escapes both ways, and everything
// that is not a mapped local file left alone.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/kernel/PathMapping.h"
#include "gtk/FileAddress.h"

namespace {

// C: is the prefix's drive_c; nothing else is mapped.
class DriveC : public core::PathMapping {
 public:
  std::optional<std::string> ToHostPath(std::u16string_view path) const override {
    if (path.size() < 2 || (path[0] != u'C' && path[0] != u'c') || path[1] != u':') return std::nullopt;
    std::string host = "/home/u/.wine/drive_c";
    for (char16_t c : path.substr(2)) {
      if (c == u'\\') c = u'/';
      if (c < 0x80) {
        host += static_cast<char>(c);
      } else {  // the test's paths hold only characters below U+0800
        host += static_cast<char>(0xC0 | (c >> 6));
        host += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    return host;
  }
  std::optional<std::u16string> ToPlatformPath(std::string_view host) const override {
    const std::string_view drive = "/home/u/.wine/drive_c";
    if (host.substr(0, drive.size()) != drive) return std::nullopt;
    std::u16string path = u"C:";
    const std::string_view rest = host.substr(drive.size());
    for (std::size_t i = 0; i < rest.size(); ++i) {
      const auto c = static_cast<unsigned char>(rest[i]);
      if (c < 0x80) {
        path += c == '/' ? u'\\' : static_cast<char16_t>(c);
      } else {
        path += static_cast<char16_t>(((c & 0x1F) << 6) | (static_cast<unsigned char>(rest[++i]) & 0x3F));
      }
    }
    return path;
  }
};

TEST(FileAddressTest, PlatformAddressesReachTheFileBehindTheDrive) {
  DriveC mapping;
  struct Case {
    std::u16string given;
    std::string loaded;
  } cases[] = {
      // the launcher's own form: a plain drive path, with a blank
      {u"C:\\Program Files\\Guide\\runvane.html", "file:///home/u/.wine/drive_c/Program%20Files/Guide/runvane.html"},
      {u"file:///C:/Program%20Files/Guide/runvane.html", "file:///home/u/.wine/drive_c/Program%20Files/Guide/runvane.html"},
      {u"FILE://localhost/c:/a.html", "file:///home/u/.wine/drive_c/a.html"},
      {u"file:///C|/a.html", "file:///home/u/.wine/drive_c/a.html"},
      // an accented letter, raw or escaped, reaches WebKit escaped
      {u"C:\\Guide\\caf\u00e9.html", "file:///home/u/.wine/drive_c/Guide/caf%C3%A9.html"},
      {u"file:///C:/Guide/caf%C3%A9.html", "file:///home/u/.wine/drive_c/Guide/caf%C3%A9.html"},
      // a literal "%" and "#" in a name stay escaped; query and fragment stay as they were
      {u"file:///C:/100%25%23.html?x=%20#part%201", "file:///home/u/.wine/drive_c/100%25%23.html?x=%20#part%201"},
      // a plain path's "#" is part of the name
      {u"C:\\a#b.html", "file:///home/u/.wine/drive_c/a%23b.html"},
      // a host path already needs no drive
      {u"file:///usr/share/doc/x.html", "file:///usr/share/doc/x.html"},
      // no drive behind it, another host, other schemes: unchanged
      {u"file:///D:/a.html", "file:///D:/a.html"},
      {u"D:\\a.html", "D:\\a.html"},
      {u"file://server/share/a.html", "file://server/share/a.html"},
      {u"https://example.com/a%20b?q=\u00e9", "https://example.com/a%20b?q=\xc3\xa9"},
      {u"about:blank", "about:blank"},
      {u"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.given.begin(), c.given.end()));
    EXPECT_EQ(gtkui::ToEngineAddress(c.given, &mapping), c.loaded);
  }
  // Without a mapping nothing is translated.
  EXPECT_EQ(gtkui::ToEngineAddress(u"C:\\a.html", nullptr), "C:\\a.html");
}

TEST(FileAddressTest, LoadedFilesComeBackAsDriveAddresses) {
  DriveC mapping;
  struct Case {
    std::string loaded;
    std::u16string reported;
  } cases[] = {
      {"file:///home/u/.wine/drive_c/Program%20Files/Guide/runvane.html",
       u"file:///C:/Program%20Files/Guide/runvane.html"},
      {"file:///home/u/.wine/drive_c/caf%C3%A9.html?x=1#top", u"file:///C:/caf%C3%A9.html?x=1#top"},
      // WebKit may leave bytes unescaped that a file address escapes
      {"file:///home/u/.wine/drive_c/a b[1].html", u"file:///C:/a%20b%5B1%5D.html"},
      {"file:///home/u/.wine/drive_c/100%25.html", u"file:///C:/100%25.html"},
      {"file:///tmp/outside.html", u"file:///tmp/outside.html"},
      {"https://example.com/caf\xc3\xa9", u"https://example.com/caf\u00e9"},
      {"about:blank", u"about:blank"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.loaded);
    EXPECT_EQ(gtkui::ToPlatformAddress(c.loaded, &mapping), c.reported);
  }
}

TEST(FileAddressTest, AnAddressSurvivesTheRoundTrip) {
  DriveC mapping;
  for (const char16_t* address : {u"file:///C:/Program%20Files/a%20b.html", u"file:///C:/caf%C3%A9/%25x.html#f",
                                  u"file:///C:/a;b=c,d.html", u"https://example.com/?a=b"}) {
    EXPECT_EQ(gtkui::ToPlatformAddress(gtkui::ToEngineAddress(address, &mapping), &mapping), address);
  }
}

}  // namespace
