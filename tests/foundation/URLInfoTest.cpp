// Finding the parts of a URL, and file URLs as file locations.
#include <gtest/gtest.h>

#include <string>

#include "foundation/URLInfo.h"

namespace {

std::string Str(UStringRef<UTF8> text) { return std::string(text.view()); }

TEST(URLInfo, FindsAuthorityAndPath) {
  struct Case {
    std::string_view url, authority, path;  // "!" for "raises"
  } cases[] = {
      {"http://user:pw@host:8080/p?q=1#frag", "user:pw@host:8080", "/p"},
      {"http://[::1]:80/x", "[::1]:80", "/x"},
      {"file:///C:/dir/a.txt", "", "/C:/dir/a.txt"},
      {"file://server", "server", "!"},
      {"file:C:/x", "!", "C:/x"},
      {"x:a?b", "!", "a?b"},  // without "//" or "/", "?" opens no query
      {"x:/a?b", "!", "/a"},
      {"mailto:someone@example.com", "!", "someone@example.com"},
      {"/local/path#top", "!", "/local/path"},
      {"//host/share", "host", "/share"},
      {"x:", "!", "!"},
      {"x:?q", "!", "?q"},
  };
  for (const Case& c : cases) {
    const URLInfo info(UStringRef<UTF8>(c.url));
    if (c.authority == "!") {
      EXPECT_THROW(info.Authority(), NoAuthorityError) << c.url;
    } else {
      EXPECT_EQ(std::string(c.authority), Str(info.Authority())) << c.url;
    }
    if (c.path == "!") {
      EXPECT_THROW(info.Path(), NoPathError) << c.url;
    } else {
      EXPECT_EQ(std::string(c.path), Str(info.Path())) << c.url;
    }
  }
}

TEST(URLInfo, PositionsOfUserInformationAndPort) {
  const std::string_view url = "http://user:pw@host:8080/p?q#f";
  const URLInfo info{UStringRef<UTF8>(url)};
  EXPECT_EQ(url.data() + 4, info.schemeColon);
  EXPECT_EQ(url.data() + 5, info.authority);
  EXPECT_EQ(url.data() + 14, info.at);
  EXPECT_EQ(url.data() + 19, info.portColon);  // the user's colon was cleared by the at sign
  EXPECT_EQ(url.data() + 24, info.pathStart);
  EXPECT_EQ(url.data() + 26, info.query);
  EXPECT_EQ(url.data() + 28, info.fragment);
  EXPECT_EQ(nullptr, URLInfo(UStringRef<UTF8>(std::string_view("http://[::1]/"))).portColon);
}

TEST(URLInfo, PathSegmentsKeepEmptyPiecesAndKnowTheirParameters) {
  const URLInfo info{UStringRef<UTF8>(std::string_view("http://h/a;type=d//b/"))};
  const auto segments = info.PathSegments();
  ASSERT_EQ(4u, segments.size());
  EXPECT_EQ("a;type=d", Str(segments[0].text));
  EXPECT_EQ(";type=d", std::string(segments[0].parameters, segments[0].text.end()));
  EXPECT_EQ("", Str(segments[1].text));
  EXPECT_EQ("b", Str(segments[2].text));
  EXPECT_EQ("", Str(segments[3].text));  // the trailing "/"
  EXPECT_TRUE(URLInfo(UStringRef<UTF8>(std::string_view("http://h/"))).PathSegments().empty());
}

TEST(URLInfo, FileUrlsBecomeFileLocations) {
  struct Case {
    std::string_view url, location;
  } cases[] = {
      {"file:///C:/dir/a%20b.txt", "C:\\dir\\a b.txt"},
      {"file://LocalHost/C:/x", "C:\\x"},
      {"file://server/share/x", "\\\\server\\share\\x"},
      {"file://my%20server/s/", "\\\\my server\\s"},  // the trailing separator is dropped
      {"file:///C:/a%2Fb", "C:\\a/b"},                 // decoded after splitting
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::string(c.location), std::string(URLInfo(UStringRef<UTF8>(c.url)).ToFileLocation().Path().view()))
        << c.url;
  }
  EXPECT_THROW(URLInfo(UStringRef<UTF8>(std::string_view("file:C:/x"))).ToFileLocation(), NoAuthorityError);
  EXPECT_THROW(URLInfo(UStringRef<UTF8>(std::string_view("file://server"))).ToFileLocation(), NoPathError);
}

TEST(URLInfo, ErrorsCarryTheirFixedMessages) {
  EXPECT_EQ(std::string("URLInfo: Attempt to use missing Authority."), NoAuthorityError().what());
  EXPECT_EQ(std::string("URLInfo: Attempt to use missing Path."), NoPathError().what());
  const InvalidURLInfoUse& base = NoPathError();
  EXPECT_EQ(std::string("URLInfo: Attempt to use missing Path."), std::string(base.MessageUtf8().view()));
}

}  // namespace
