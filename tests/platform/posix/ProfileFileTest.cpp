// The application profile as a file under $XDG_CONFIG_HOME.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <windows.h>
#include <afxwin.h>

#include "posix/ProfileFile.h"
#include "support/TestDefaults.h"

namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("tsr-profile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    const char* old = std::getenv("XDG_CONFIG_HOME");
    if (old != nullptr) saved_ = old;
    hadOld_ = old != nullptr;
    setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
  }
  void TearDown() override {
    InstallTestProfileStore();
    if (hadOld_)
      setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(folder_);
  }
  std::string FileText(const char* name) {
    std::ifstream in(folder_ / "config" / name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::filesystem::path folder_;
  std::string saved_;
  bool hadOld_ = false;
};

TEST_F(ProfileFileTest, AWrittenValueIsOnDiskAndReadBackByAnotherStore) {
  ProfileFile writer;
  ASSERT_TRUE(writer.WriteString(u"TsrRunvane.INI", u"ResizableState", u"MainWindowPlacement", u"100,50,700,450,1,0,-1,-1"));
  EXPECT_EQ(ProfileFile::PathOf(u"TsrRunvane.INI"), (folder_ / "config" / "TsrRunvane.INI").string());
  const std::string text = FileText("TsrRunvane.INI");
  EXPECT_NE(text.find("[ResizableState]"), std::string::npos);
  EXPECT_NE(text.find("MainWindowPlacement=100,50,700,450,1,0,-1,-1"), std::string::npos);
  ProfileFile reader;
  EXPECT_EQ(reader.ReadString(u"TsrRunvane.INI", u"ResizableState", u"MainWindowPlacement"),
            std::u16string(u"100,50,700,450,1,0,-1,-1"));
  EXPECT_EQ(reader.ReadString(u"TsrRunvane.INI", u"ResizableState", u"Other"), std::nullopt);
  EXPECT_EQ(reader.ReadString(u"Else.INI", u"ResizableState", u"MainWindowPlacement"), std::nullopt);
}

TEST_F(ProfileFileTest, RemovingEntriesAndSectionsAndKeepingTheRest) {
  ProfileFile store;
  store.WriteString(u"App.INI", u"A", u"one", u"1");
  store.WriteString(u"App.INI", u"A", u"two", u"zwei \u00e4 [x] = y");
  store.WriteString(u"App.INI", u"B", u"three", u"3");
  ASSERT_TRUE(store.WriteString(u"App.INI", u"A", u"one", nullptr));
  EXPECT_EQ(store.ReadString(u"App.INI", u"A", u"one"), std::nullopt);
  EXPECT_EQ(store.ReadString(u"App.INI", u"A", u"two"), std::u16string(u"zwei \u00e4 [x] = y"));
  // Names ignore letter case, and a rewrite keeps the file's spelling.
  EXPECT_EQ(store.ReadString(u"App.INI", u"b", u"THREE"), std::u16string(u"3"));
  ASSERT_TRUE(store.WriteString(u"App.INI", u"b", u"THREE", u"drei"));
  EXPECT_EQ(store.ReadString(u"App.INI", u"B", u"three"), std::u16string(u"drei"));
  EXPECT_NE(FileText("App.INI").find("three=drei"), std::string::npos);
  ASSERT_TRUE(store.WriteString(u"App.INI", u"A", nullptr, nullptr));
  EXPECT_EQ(store.ReadString(u"App.INI", u"A", u"two"), std::nullopt);
  EXPECT_EQ(store.ReadString(u"App.INI", u"B", u"three"), std::u16string(u"drei"));
}

TEST_F(ProfileFileTest, TheApplicationWritesThroughTheInstalledFiles) {
  InstallProfileFiles();
  CWinApp app(u"ProfileFileTest");
  app.m_pszProfileName = u"ProfileFileTest.INI";
  ASSERT_TRUE(app.WriteProfileStringW(u"ResizableState", u"WindowPlacement", u"1,2,3,4,1,0,0,0"));
  EXPECT_NE(FileText("ProfileFileTest.INI").find("WindowPlacement=1,2,3,4,1,0,0,0"), std::string::npos);
  EXPECT_EQ(app.GetProfileStringW(u"ResizableState", u"WindowPlacement"), u"1,2,3,4,1,0,0,0");
}

TEST_F(ProfileFileTest, AnUnwritableFolderFailsWithTheLastError) {
  std::filesystem::create_directories(folder_);
  std::ofstream(folder_ / "config") << "a file where the folder should be";
  ProfileFile store;
  SetLastError(0);
  EXPECT_FALSE(store.WriteString(u"App.INI", u"A", u"k", u"v"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANTWRITE));
}

}  // namespace
