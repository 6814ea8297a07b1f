// The example installation in examples/prefix, loaded the way the launcher loads a prefix:
// its hive names the guide pages, the pages are there, and every link on them that names a
// file leads to one.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

#include "core/kernel/FileAttributeSource.h"
#include "core/kernel/FileVersionSource.h"
#include "core/kernel/PathMapping.h"
#include "core/registry/RegistryHive.h"
#include "core/shell/ShellService.h"
#include "posix/PosixServices.h"
#include "posix/PosixShell.h"

namespace {

std::u16string ReadString(const char16_t* keyPath, const char16_t* name) {
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key));
  if (key == nullptr) return {};
  DWORD type = 0;
  DWORD size = 0;
  std::u16string text;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
    text.resize(size / 2);
    RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(text.data()), &size);
    if (!text.empty() && text.back() == u'\0') text.pop_back();
  }
  RegCloseKey(key);
  return text;
}

std::u16string FromUtf8(const std::string& text) {
  std::u16string wide(text.size(), u'\0');
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length : 0);
  return wide;
}

std::string PercentDecoded(const std::string& text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

std::vector<std::string> Links(const std::string& page) {
  std::vector<std::string> links;
  const std::string open = "href=\"";
  for (std::size_t at = page.find(open); at != std::string::npos; at = page.find(open, at)) {
    at += open.size();
    links.push_back(page.substr(at, page.find('"', at) - at));
  }
  return links;
}

class ExamplePrefix : public ::testing::Test {
 protected:
  void SetUp() override { posix::InstallPosixServices(TSR_EXAMPLES_DIR "/prefix"); }
  void TearDown() override {
    core::InstallMachineHive(nullptr);
    core::InstallPathMapping(nullptr);
    core::InstallFileAttributeSource(nullptr);
    core::InstallFileVersionSource(nullptr);
    core::InstallShellService(nullptr);
  }
};

TEST_F(ExamplePrefix, ItsHiveNamesTheGuidePagesAndTheirLinksLeadToFiles) {
  const char16_t* generator = u"SOFTWARE\\Wow6432Node\\Tessarin\\Tsr Installation Generator";
  const std::u16string folder = ReadString(generator, u"InstallFolder");
  EXPECT_EQ(u"C:\\Program Files (x86)\\Tessarin\\Tsr Installation Generator\\", folder);
  EXPECT_EQ(u"Standard", ReadString(generator, u"EvalType"));
  EXPECT_EQ(u"11.0.19041.1", ReadString(u"Software\\Microsoft\\Internet Explorer", u"Version"));

  for (const char16_t* guide : {u"TsrInstallationGuide\\Content\\runvane.html",
                                u"TsrEvalInstallationGuide\\Content\\runvane.html"}) {
    const std::u16string page = folder + guide;
    SCOPED_TRACE(std::string(page.begin(), page.end()));
    const DWORD attributes = GetFileAttributesW(page.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes) << GetLastError();
    EXPECT_EQ(0u, attributes & FILE_ATTRIBUTE_DIRECTORY);

    std::ifstream in(core::CurrentPathMapping()->ToHostPath(page).value());
    std::stringstream text;
    text << in.rdbuf();
    std::set<std::string> commands;
    for (const std::string& link : Links(text.str())) {
      const std::size_t colon = link.find(':');
      ASSERT_NE(std::string::npos, colon) << link;
      const std::string command = link.substr(0, colon + 1);
      commands.insert(command);
      if (command != "openexecutable:" && command != "openfolder:") continue;
      const std::u16string target = FromUtf8(PercentDecoded(link.substr(colon + 1)));
      const DWORD found = GetFileAttributesW(target.c_str());
      EXPECT_NE(INVALID_FILE_ATTRIBUTES, found) << link;
      EXPECT_EQ(command == "openfolder:", (found & FILE_ATTRIBUTE_DIRECTORY) != 0) << link;
      if (command == "openexecutable:") {
        EXPECT_EQ(0, ::access(core::CurrentPathMapping()->ToHostPath(target).value().c_str(), X_OK)) << link;
      }
    }
    EXPECT_EQ((std::set<std::string>{"openexecutable:", "openfolder:", "openinbrowser:", "close:"}), commands);
    const bool evaluation = page.find(u"Eval") != std::u16string::npos;
    EXPECT_EQ(evaluation, text.str().find("evaluation edition") != std::string::npos);
  }
}

TEST_F(ExamplePrefix, TheMachinesShellIsInstalledWithIt) {
  EXPECT_NE(nullptr, dynamic_cast<const posix::PosixShell*>(core::CurrentShellService().get()));
}

}  // namespace
