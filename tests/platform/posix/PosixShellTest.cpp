// ShellExecuteW through the machine's shell, on a temporary prefix and a test desktop whose
// default applications are scripts that record their arguments. The desktop's settings come
// only from temporary folders, so the machine's own are never read or changed.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "core/shell/ShellService.h"
#include "core/user/MessageBoxPresenter.h"
#include "posix/PosixShell.h"
#include "posix/WinePrefixPaths.h"

namespace {

namespace fs = std::filesystem;

struct ShownBox {
  std::u16string caption;
  std::u16string text;
  UINT type = 0;
};

class RecordingPresenter : public core::MessageBoxPresenter {
 public:
  int ShowMessageBox(HWND, const std::u16string& text, const std::u16string& caption, UINT type) override {
    boxes.push_back(ShownBox{caption, text, type});
    return IDOK;
  }
  std::vector<ShownBox> boxes;
};

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

void WriteFile(const fs::path& path, const std::string& text, fs::perms perms = fs::perms::owner_read |
                                                                                  fs::perms::owner_write) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
  fs::permissions(path, perms);
}

constexpr fs::perms kProgram = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec;

bool HasLine(const fs::path& log, const std::string& expected) {
  std::ifstream in(log);
  std::string line;
  while (std::getline(in, line)) {
    if (line == expected) return true;
  }
  return false;
}

// What a started program or desktop application writes comes a moment later: poll for it,
// with a bound, instead of sleeping for a fixed time.
bool WaitForLine(const fs::path& log, const std::string& expected) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    if (HasLine(log, expected)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

std::string Lines(const fs::path& log) {
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// One temporary world for the whole suite: GIO reads the desktop's folders from the
// environment once per process and keeps them.
class PosixShellTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char pattern[] = "/tmp/tsr-shell-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(pattern));
    root_ = new fs::path(pattern);
    const fs::path& root = *root_;
    prefix_ = new fs::path(root / "prefix");
    const fs::path& prefix = *prefix_;

    // The desktop: handlers for folders, one document type and web and mail addresses, and
    // the document type's file name pattern in a MIME folder of its own.
    const std::string handler = (root / "handler.sh").string();
    WriteFile(root / "handler.sh", "#!/bin/sh\nkind=$1; shift\nfor a in \"$@\"; do printf '%s %s\\n' \"$kind\" \"$a\"; "
                                   "done >> '" + (root / "opened.log").string() + "'\n",
              kProgram);
    const auto desktopFile = [&](const std::string& name, const std::string& kind, const std::string& field,
                                 const std::string& types) {
      WriteFile(root / "data/applications" / name, "[Desktop Entry]\nType=Application\nName=Test " + kind +
                                                     "\nExec=" + handler + " " + kind + " " + field +
                                                     "\nMimeType=" + types + "\n");
    };
    desktopFile("tsr-files.desktop", "files", "%f", "inode/directory;");
    desktopFile("tsr-guides.desktop", "guides", "%f", "application/x-tessarin-guide;");
    desktopFile("tsr-browser.desktop", "browser", "%u", "x-scheme-handler/https;x-scheme-handler/mailto;");
    WriteFile(root / "config/mimeapps.list",
              "[Default Applications]\ninode/directory=tsr-files.desktop\n"
              "application/x-tessarin-guide=tsr-guides.desktop\n"
              "x-scheme-handler/https=tsr-browser.desktop\nx-scheme-handler/mailto=tsr-browser.desktop\n");
    WriteFile(root / "data/mime/globs2", "50:application/x-tessarin-guide:*.tsrguide\n");
    fs::create_directories(root / "home");
    fs::create_directories(root / "system");
    fs::create_directories(root / "bin");
    Set("HOME", (root / "home").string());
    Set("XDG_DATA_HOME", (root / "data").string());
    Set("XDG_CONFIG_HOME", (root / "config").string());
    Set("XDG_DATA_DIRS", (root / "system").string());
    Set("XDG_CONFIG_DIRS", (root / "system").string());
    Set("XDG_CURRENT_DESKTOP", std::nullopt);
    Set("GIO_USE_VFS", "local");
    Set("DBUS_SESSION_BUS_ADDRESS", "disabled:");

    // A wine stand-in that records its prefix, working folder and arguments.
    WriteFile(root / "wine/wine", "#!/bin/sh\nprintf '%s|%s|%s\\n' \"$WINEPREFIX\" \"$(pwd)\" \"$*\" >> '" +
                                      (root / "wine.log").string() + "'\n",
              kProgram);

    // The prefix.
    fs::create_directories(prefix / "dosdevices");
    fs::create_symlink("../drive_c", prefix / "dosdevices/c:");
    fs::create_directories(prefix / "drive_c/Guide");
    fs::create_directories(prefix / "drive_c/Exemples créés");
    WriteFile(prefix / "drive_c/Guide/runvane.tsrguide", "<html></html>\n");
    WriteFile(prefix / "drive_c/notes.tsrunknown", "some notes\n");
    WriteFile(prefix / "drive_c/Setup/setup.exe", "MZ");
    WriteFile(prefix / "drive_c/Setup/Upper.EXE", "MZ");
    WriteFile(prefix / "drive_c/Setup/setup.msi", "msi");
    WriteFile(prefix / "drive_c/Setup/install.bat", "@echo off\r\n");
    // A text file with the execute bit is no program: it is opened as a document.
    WriteFile(prefix / "drive_c/tools/notes-x.tsrunknown", "plain text\n", kProgram);
    // Records where it ran and with what, then stays until released (ten seconds at most),
    // so a shell that waited for it would be seen.
    const std::string ran = (root / "ran.log").string();
    const std::string release = (root / "release").string();
    WriteFile(prefix / "drive_c/tools/a;b $(x).sh",
              "#!/bin/sh\nprintf '%s|%s|' \"$0\" \"$(pwd)\" >> '" + ran + "'\nprintf '[%s]' \"$@\" >> '" + ran +
                  "'\nprintf '\\n' >> '" + ran + "'\ni=0\nwhile [ ! -e '" + release +
                  "' ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done\nprintf 'done\\n' >> '" + ran + "'\n",
              kProgram);

    core::InstallShellService(std::make_shared<const posix::PosixShell>(
        prefix.string(), std::make_shared<const posix::WinePrefixPaths>(prefix.string())));
  }

  static void TearDownTestSuite() {
    core::InstallShellService(nullptr);
    for (auto& [name, value] : *saved_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
    fs::remove_all(*root_);
    delete root_;
    delete prefix_;
  }

  void SetUp() override {
    previous_ = core::InstallMessageBoxPresenter(presenter_);
    const char* path = std::getenv("PATH");
    path_ = path ? path : "";
  }
  void TearDown() override {
    core::InstallMessageBoxPresenter(previous_);
    ::setenv("PATH", path_.c_str(), 1);
  }

  // Sets or removes a variable for the suite and keeps its first value for the end.
  static void Set(const std::string& name, const std::optional<std::string>& value) {
    if (saved_->count(name) == 0) {
      const char* old = std::getenv(name.c_str());
      (*saved_)[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }

  static INT_PTR Shell(const char16_t* file, const char16_t* verb = u"open", const char16_t* parameters = nullptr,
                       const char16_t* directory = nullptr) {
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, verb, file, parameters, directory, SW_SHOWNORMAL));
  }

  static fs::path Host(const std::string& relative) { return *prefix_ / "drive_c" / relative; }

  static fs::path* root_;
  static fs::path* prefix_;
  static std::map<std::string, std::optional<std::string>>* saved_;
  const std::shared_ptr<RecordingPresenter> presenter_ = std::make_shared<RecordingPresenter>();
  std::shared_ptr<core::MessageBoxPresenter> previous_;
  std::string path_;
};

fs::path* PosixShellTest::root_ = nullptr;
fs::path* PosixShellTest::prefix_ = nullptr;
std::map<std::string, std::optional<std::string>>* PosixShellTest::saved_ =
    new std::map<std::string, std::optional<std::string>>();

TEST_F(PosixShellTest, OpensFoldersDocumentsAndAddressesWithTheDefaultApplications) {
  const struct Case {
    const char16_t* file;
    const char16_t* verb;
    std::string opened;  // the line the default application records
  } cases[] = {
      {u"C:\\Guide", u"open", "files " + Host("Guide").string()},
      // Letter case and a trailing separator, as a registry's folder value has them.
      {u"c:\\guide\\", u"OPEN", "files " + Host("Guide").string()},
      {u"C:/Guide/runvane.tsrguide", nullptr, "guides " + Host("Guide/runvane.tsrguide").string()},
      {u"C:\\Guide", u"Explore", "files " + Host("Guide").string()},
      // UTF-16 in, the folder's UTF-8 name out.
      {u"C:\\Exemples cr\u00e9\u00e9s", u"open", "files " + Host("Exemples créés").string()},
      {u"https://example.com/a?b=c&d=%C3%A9", u"open", "browser https://example.com/a?b=c&d=%C3%A9"},
      {u"mailto:guide@example.com", nullptr, "browser mailto:guide@example.com"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.file));
    EXPECT_GT(Shell(c.file, c.verb), 32);
    EXPECT_TRUE(WaitForLine(*root_ / "opened.log", c.opened)) << Lines(*root_ / "opened.log");
  }
  EXPECT_TRUE(presenter_->boxes.empty());
}

TEST_F(PosixShellTest, RunsAProgramDirectlyInItsWorkingFolderWithoutWaitingForIt) {
  // Blanks, ";" and "$(...)" in the name would run something else if a shell saw them.
  const std::string program = Host("tools/a;b $(x).sh").string();
  ASSERT_GT(Shell(u"C:\\tools\\a;b $(x).sh", u"open", u"one \"two three\" C:\\x\\\\\""), 32);
  EXPECT_TRUE(WaitForLine(*root_ / "ran.log", program + "|" + Host("tools").string() + "|[one][two three][C:\\x\\]"))
      << Lines(*root_ / "ran.log");
  // ShellExecuteW has returned while the program still runs.
  EXPECT_FALSE(HasLine(*root_ / "ran.log", "done"));
  WriteFile(*root_ / "release", "");
  EXPECT_TRUE(WaitForLine(*root_ / "ran.log", "done"));
  EXPECT_FALSE(fs::exists(Host("tools/x")));

  // A working folder given with the request replaces the program's own; a missing one is
  // refused before anything runs.
  ASSERT_GT(Shell(u"C:\\tools\\a;b $(x).sh", nullptr, nullptr, u"C:\\Guide"), 32);
  EXPECT_TRUE(WaitForLine(*root_ / "ran.log", program + "|" + Host("Guide").string() + "|[]"))
      << Lines(*root_ / "ran.log");
  EXPECT_TRUE(presenter_->boxes.empty());
  SetLastError(0);
  EXPECT_EQ(SE_ERR_PNF, Shell(u"C:\\tools\\a;b $(x).sh", nullptr, nullptr, u"C:\\Nowhere"));
  EXPECT_EQ(DWORD{ERROR_PATH_NOT_FOUND}, GetLastError());
  ASSERT_EQ(1u, presenter_->boxes.size());
  EXPECT_NE(std::string::npos, Utf8(presenter_->boxes[0].text).find("C:\\Nowhere")) << Utf8(presenter_->boxes[0].text);
}

TEST_F(PosixShellTest, RunsWindowsProgramsThroughWineOnTheSamePrefix) {
  ::setenv("PATH", (*root_ / "wine").c_str(), 1);
  const std::string head = prefix_->string() + "|" + Host("Setup").string() + "|";
  const struct Case {
    const char16_t* file;
    std::string recorded;
  } cases[] = {
      {u"C:\\Setup\\setup.exe", head + Host("Setup/setup.exe").string()},
      {u"C:\\setup\\upper.exe", head + Host("Setup/Upper.EXE").string()},
      {u"C:\\Setup\\setup.msi", head + "msiexec /i C:\\Setup\\setup.msi"},
      {u"C:\\SETUP\\INSTALL.BAT", head + "cmd /c C:\\Setup\\install.bat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.file));
    EXPECT_GT(Shell(c.file), 32);
    EXPECT_TRUE(WaitForLine(*root_ / "wine.log", c.recorded)) << Lines(*root_ / "wine.log");
  }
  EXPECT_TRUE(presenter_->boxes.empty());
}

TEST_F(PosixShellTest, WithoutWineAWindowsProgramIsRefusedWithAReason) {
  ::setenv("PATH", (*root_ / "bin").c_str(), 1);
  const std::string wineBefore = Lines(*root_ / "wine.log");
  SetLastError(0);
  EXPECT_EQ(SE_ERR_NOASSOC, Shell(u"C:\\Setup\\setup.exe"));
  EXPECT_EQ(DWORD{ERROR_NO_ASSOCIATION}, GetLastError());
  ASSERT_EQ(1u, presenter_->boxes.size());
  const ShownBox& box = presenter_->boxes[0];
  EXPECT_EQ(u"setup.exe", box.caption);
  EXPECT_EQ(UINT{MB_ICONERROR}, box.type & MB_ICONMASK);
  EXPECT_NE(std::string::npos, Utf8(box.text).find("wine is not installed")) << Utf8(box.text);
  EXPECT_NE(std::string::npos, Utf8(box.text).find("C:\\Setup\\setup.exe")) << Utf8(box.text);
  EXPECT_EQ(wineBefore, Lines(*root_ / "wine.log"));
}

TEST_F(PosixShellTest, RefusesWhatItCannotOpenAndSaysWhy) {
  const struct Case {
    const char16_t* file;
    const char16_t* verb;
    INT_PTR result;
    DWORD error;
    std::string caption;
    std::string said;  // a part of the message
  } cases[] = {
      {u"C:\\missing.txt", u"open", SE_ERR_FNF, ERROR_FILE_NOT_FOUND, "missing.txt",
       "\"C:\\missing.txt\": there is no such file or folder.\nOn this computer: " + Host("missing.txt").string()},
      {u"C:\\No Folder\\setup.exe", u"open", SE_ERR_PNF, ERROR_PATH_NOT_FOUND, "setup.exe",
       "the folder it should be in does not exist"},
      {u"Q:\\setup.exe", u"open", SE_ERR_PNF, ERROR_PATH_NOT_FOUND, "setup.exe", "there is no drive Q:"},
      {u"", u"open", SE_ERR_FNF, ERROR_FILE_NOT_FOUND, "Open", "no file name was given"},
      {u"C:\\notes.tsrunknown", u"open", SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION, "notes.tsrunknown",
       "the desktop has no application for"},
      // The execute bit alone: not a program, so a document without an application.
      {u"C:\\tools\\notes-x.tsrunknown", u"open", SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION, "notes-x.tsrunknown",
       "the desktop has no application for"},
      {u"tsr-nothing:guide", u"open", SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION, "tsr-nothing:guide",
       "no application for tsr-nothing: addresses"},
      {u"C:\\Guide", u"print", SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION, "Guide", "\"print\" is not something"},
      {u"C:\\notes.tsrunknown", u"explore", SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION, "notes.tsrunknown",
       "it is not a folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.file));
    presenter_->boxes.clear();
    SetLastError(0);
    EXPECT_EQ(c.result, Shell(c.file, c.verb));
    EXPECT_EQ(c.error, GetLastError());
    ASSERT_EQ(1u, presenter_->boxes.size());
    EXPECT_EQ(c.caption, Utf8(presenter_->boxes[0].caption));
    EXPECT_EQ(UINT{MB_ICONERROR}, presenter_->boxes[0].type & MB_ICONMASK);
    EXPECT_NE(std::string::npos, Utf8(presenter_->boxes[0].text).find(c.said)) << Utf8(presenter_->boxes[0].text);
  }
}

TEST_F(PosixShellTest, AFileItMayNotReadOrRunIsDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may read and run any file";
  WriteFile(Host("locked/report.tsrguide"), "secret\n", fs::perms::none);
  WriteFile(Host("locked/tool.sh"), "#!/bin/sh\n", fs::perms::owner_read | fs::perms::group_exec);
  for (const char16_t* file : {u"C:\\locked\\report.tsrguide", u"C:\\locked\\tool.sh"}) {
    SCOPED_TRACE(Utf8(file));
    SetLastError(0);
    EXPECT_EQ(SE_ERR_ACCESSDENIED, Shell(file));
    EXPECT_EQ(DWORD{ERROR_ACCESS_DENIED}, GetLastError());
  }
  EXPECT_EQ(2u, presenter_->boxes.size());
}

TEST_F(PosixShellTest, HeadlessTheReasonIsOneLineOnStandardError) {
  core::InstallMessageBoxPresenter(nullptr);
  ::testing::internal::CaptureStderr();
  const INT_PTR result = Shell(u"C:\\Guide\\missing.html");
  const std::string written = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(SE_ERR_FNF, result);
  EXPECT_EQ("missing.html: Cannot open \"C:\\Guide\\missing.html\": there is no such file or folder. On this "
            "computer: " + Host("Guide/missing.html").string() + "\n",
            written);
}

// A name of a megabyte is cut after 300 characters wherever the message names it: caption,
// text and host path. A surrogate pair counts as one character and is not split.
TEST_F(PosixShellTest, LongNamesAreCutInTheMessage) {
  const std::u16string clef = u"\U0001D11E";  // two units
  const std::u16string name = std::u16string(299, u'a') + clef + std::u16string(1 << 20, u'b');
  const std::u16string file = u"C:\\" + name;
  EXPECT_LE(Shell(file.c_str()), 32);  // the name is too long for the host's file system
  ASSERT_EQ(1u, presenter_->boxes.size());
  const ShownBox& box = presenter_->boxes[0];
  const std::u16string cut = std::u16string(299, u'a') + clef + u"\u2026";
  EXPECT_EQ(cut, box.caption);
  // "C:\" and 297 letters are the 300 characters; the pair is not split.
  const std::u16string quoted = u"Cannot open \"C:\\" + std::u16string(297, u'a') + u"\u2026\"";
  EXPECT_EQ(0u, box.text.find(quoted)) << Utf8(box.text.substr(0, 400));
  EXPECT_LT(box.text.size(), 1000u);
  EXPECT_NE(std::u16string::npos, box.text.find(u"\u2026", quoted.size())) << "the host path is not cut";
}

}  // namespace
