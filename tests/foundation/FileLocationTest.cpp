// File locations, names, path roots, platform paths and file errors.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "WideText.h"
#include "foundation/FileAttributes.h"
#include "foundation/FileIOError.h"
#include "foundation/FileLocation.h"
#include "foundation/FileName.h"
#include "foundation/LibraryExceptions.h"
#include "foundation/PathRoot.h"
#include "foundation/PlatformPath.h"

namespace {

U8Ref Text(std::string_view text) { return U8Ref(text); }
std::string Str(const CopiedUString<UTF8>& text) { return std::string(text.view()); }

TEST(FileLocation, DropsOneTrailingSeparatorAndAppendsWithOne) {
  struct Case {
    std::string_view location, name, result;
  } cases[] = {
      {"C:\\dir\\", "", "C:\\dir"},
      {"C:\\", "", "C:"},
      {"\\", "", "\\"},  // a lone separator stays
      {"C:\\dir", "/sub/", "C:\\dir\\sub"},
      {"\\", "x", "\\x"},
      {"C:\\dir", "//", "C:\\dir"},
      {"C:\\dir", "a/b", "C:\\dir\\a/b"},  // separators inside the name stay
      {"/home/u/", "\\\\f.txt", "/home/u\\f.txt"},
  };
  for (const Case& c : cases) {
    const FileLocation location(Text(c.location));
    const FileLocation result = c.name.empty() ? location : location.Append(Text(c.name));
    EXPECT_EQ(std::string(c.result), Str(result.Path())) << c.location << " + " << c.name;
  }
  EXPECT_THROW(FileLocation(Text("")).Append(Text("x")), EmptyFileLocationError);
}

TEST(FileLocation, ExtraRecordSurvivesCopiesAndAppend) {
  FileLocation location(Text("C:\\dir"));
  FileLocation::Extra extra{};
  extra[0] = 7;
  extra[63] = 9;
  location.SetExtraRecord(extra);
  const FileLocation appended = location.Append(Text("x"));
  FileLocation assigned;
  assigned = appended;
  ASSERT_NE(nullptr, assigned.ExtraRecord());
  EXPECT_EQ(extra, *assigned.ExtraRecord());
  EXPECT_NE(location.ExtraRecord(), assigned.ExtraRecord());  // a copy, not a shared record
}

TEST(FileName, ValidatesOneComponent) {
  enum Outcome { Accepted, Empty, Illegal, Reserved };
  struct Case {
    std::string text;
    Outcome outcome;
  } cases[] = {
      {"kernel32.dll", Accepted}, {"...", Accepted},   {"a b", Accepted},
      {"\xc3\xa9", Accepted},  // bytes from 0x80 up are accepted
      {"", Empty},             {std::string(257, 'a'), Empty},
      {std::string(256, 'a'), Accepted},
      {".", Reserved},         {"..", Reserved},
      {"a:b", Illegal},        {"a\\b", Illegal},   {"a/b", Illegal}, {"a\"b", Illegal},
      {"a*b", Illegal},        {"a?b", Illegal},    {"a<b", Illegal}, {"a>b", Illegal},
      {"a|b", Illegal},        {"a\x1f", Illegal},  {"\x01", Illegal},
      // A zero byte would cut the name at a platform call; it is refused too.
      {std::string("a\0b", 3), Illegal},
  };
  for (const Case& c : cases) {
    Outcome got;
    try {
      got = FileName(Text(c.text)).empty() ? Empty : Accepted;
    } catch (const IllegalFileNameReserved&) {
      got = Reserved;
    } catch (const IllegalFileName&) {
      got = Illegal;
    }
    EXPECT_EQ(c.outcome, got) << c.text.size() << " bytes: " << c.text;
  }
}

TEST(PathRoot, ClassifiesHowAPathStarts) {
  struct Case {
    std::string_view path;
    bool rootOnly, rooted, unc, drive;
    std::string_view letter;
  } cases[] = {
      {"", false, false, false, false, ""},
      {"\\", true, true, false, false, ""},
      {"/", true, true, false, false, ""},
      {"x", false, false, false, false, ""},
      {"c:", true, true, false, true, "c:"},
      {"C:\\x", false, true, false, true, "C:"},
      {"\\\\server", true, true, true, false, ""},
      {"\\\\server\\share", false, true, true, false, ""},
      {"\\\\server/share", false, true, true, false, ""},
      {"\\x", false, true, false, false, ""},
      {"/x", false, true, false, false, ""},
      {"1:", false, false, false, false, ""},
  };
  for (const Case& c : cases) {
    const PathRoot root = ClassifyPathRoot(Text(c.path));
    EXPECT_EQ(c.rootOnly, root.isRootOnly) << c.path;
    EXPECT_EQ(c.rooted, root.isRooted) << c.path;
    EXPECT_EQ(c.unc, root.isUnc) << c.path;
    EXPECT_EQ(c.drive, root.hasDrive) << c.path;
    EXPECT_EQ(std::string(c.letter), Str(root.drive)) << c.path;
  }
}

TEST(PlatformPath, LongDriveAndUncPathsGetTheLongPathPrefix) {
  const std::string tail(290, 'a');
  const auto wide = [](const std::string& text) { return WString(text.begin(), text.end()); };
  struct Case {
    std::string path;
    WString expected;
  } cases[] = {
      {"C:\\short/path", WIDE("C:\\short/path")},  // short paths are handed over as they are
      {"C:/dir/" + tail, WIDE("\\\\?\\C:\\dir\\") + wide(tail)},
      {"C:/dir/../" + tail, wide("C:\\dir\\..\\" + tail)},  // "..": the platform normalises
      {"C:/dir/" + tail + "/.", wide("C:\\dir\\" + tail + "\\.")},
      {"relative/" + tail, wide("relative/" + tail)},  // neither drive nor share
      {"\\\\server\\share\\" + tail, WIDE("\\\\?\\UNC\\server\\share\\") + wide(tail)},
  };
  for (const Case& c : cases) {
    const TerminatedU16 platform = ToPlatformPath(Text(c.path), 259);
    EXPECT_EQ(c.expected, WStringView(platform.c_str(), platform.size())) << c.path.substr(0, 20);
    EXPECT_EQ(WIDE('\0'), platform.c_str()[platform.size()]);
  }
  // 300 bytes of two-byte characters are 150 units: short enough for the plain form.
  std::string accented = "C:/";
  for (int i = 0; i < 150; ++i) accented += "\xc3\xa9";
  EXPECT_EQ(WIDE('C'), ToPlatformPath(Text(accented), 259).c_str()[0]);
}

TEST(FileAttributes, EmptyLocationIsInvalidWithoutAPlatformCall) {
  SetLastError(1234);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, FileAttributes(FileLocation()));
  EXPECT_EQ(1234u, GetLastError());  // the platform was not asked
}

TEST(FileIOError, ComposesItsMessageFromClassPathsAndCode) {
  EXPECT_EQ(std::string("File error \"class EmptyFileLocationError\""), EmptyFileLocationError().what());

  const FileIOError both(0, Text("C:\\a"), Text("C:\\b"));
  EXPECT_EQ(std::string("File error \"class FileIOError\" on \"C:\\a\" and \"C:\\b\""),
            std::string(both.MessageUtf8().view()));

  const FileIOError coded(2, Text("C:\\a"));
  const std::string message(coded.MessageUtf8().view());
  EXPECT_EQ(0u, message.find("File error \"class FileIOError\" on \"C:\\a\" : \"Windows Error 0x2%: ")) << message;
  EXPECT_EQ(message, coded.what());

  const FileIOError copy(coded);  // a copy keeps code and paths
  EXPECT_EQ(2, copy.Code());
  EXPECT_EQ(message, std::string(copy.MessageUtf8().view()));
}

}  // namespace
