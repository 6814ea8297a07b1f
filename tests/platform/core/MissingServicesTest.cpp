// What core answers while no desktop or profile store is installed: no screen to size a
// window by, and a profile write that fails rather than vanishing.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "core/kernel/ProfileStore.h"
#include "core/user/DesktopFacts.h"
#include "support/TestDefaults.h"

namespace {

TEST(MissingServices, WithoutADesktopThereIsNoScreenAndTheDefaultResolution) {
  core::InstallDesktopFacts(nullptr);
  const int screen[] = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CXVSCROLL)};
  RECT work{1, 2, 3, 4};
  const BOOL gotWork = SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  HDC screenDc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screenDc, LOGPIXELSY);
  const int width = GetDeviceCaps(screenDc, HORZRES);
  ReleaseDC(nullptr, screenDc);
  InstallTestDesktop();

  EXPECT_EQ(screen[0], 0);
  EXPECT_EQ(screen[1], 0);
  EXPECT_EQ(screen[2], 0);
  EXPECT_TRUE(gotWork);
  EXPECT_TRUE(IsRectEmpty(&work));
  EXPECT_EQ(dpi, 96);
  EXPECT_EQ(width, 0);
  // The installed desktop answers again.
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
}

TEST(MissingServices, WithoutAProfileStoreEntriesAreMissingAndWritesFail) {
  core::InstallProfileStore(nullptr);
  SetLastError(0);
  const BOOL wrote = WritePrivateProfileStringW(u"Section", u"Entry", u"value", u"Missing.ini");
  const DWORD error = GetLastError();
  WCHAR buffer[16];
  const DWORD read = GetPrivateProfileStringW(u"Section", u"Entry", u"fallback", buffer, 16, u"Missing.ini");
  InstallTestProfileStore();

  EXPECT_FALSE(wrote);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_CANTWRITE));
  EXPECT_EQ(read, 8u);
  EXPECT_EQ(std::u16string(buffer), u"fallback");
}

}  // namespace
