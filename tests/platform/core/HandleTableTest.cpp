// The handle table behind windows, keys, GDI objects, menus, memory and deferred batches.
#include "core/kernel/HandleTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <windows.h>

namespace {

template <typename Object>
std::unique_ptr<core::HandleTable<HMENU, Object>> MakeTable() {
  return std::unique_ptr<core::HandleTable<HMENU, Object>>(
      core::HandleTable<HMENU, Object>::Make(0x100, 4, ERROR_INVALID_MENU_HANDLE));
}

TEST(HandleTable, HandsOutFreshHandlesAndReportsBadOnesWithItsKindsError) {
  auto table = MakeTable<int>();
  HMENU first = table->Add(1);
  HMENU second = table->Add(2);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first), 0x100u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(second), 0x104u);
  ASSERT_TRUE(table->Remove(first));
  // A closed handle is never handed out again.
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(table->Add(3)), 0x108u);

  SetLastError(77);
  EXPECT_EQ(table->Find(first), nullptr);
  EXPECT_EQ(GetLastError(), 77u) << "Find leaves the last error alone";
  EXPECT_EQ(table->Lookup(first), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  ASSERT_NE(table->Lookup(second), nullptr);
  EXPECT_EQ(*table->Lookup(second), 2);
  EXPECT_FALSE(table->Remove(first)) << "a second close fails";

  EXPECT_FALSE(table->Insert(second, 9)) << "a taken handle is not replaced";
  EXPECT_EQ(*table->Find(second), 2);
}

TEST(HandleTable, RemovesOnlyWhatTheTestLetsGoAndGivesTheObjectBack) {
  auto table = MakeTable<int>();
  HMENU kept = table->Add(5);
  EXPECT_FALSE(table->RemoveIf(kept, [](int value) { return value != 5; }));
  EXPECT_NE(table->Find(kept), nullptr);
  EXPECT_EQ(table->Take(kept), std::optional<int>(5));
  EXPECT_EQ(table->Take(kept), std::nullopt);
}

// An object whose destructor closes another handle of its own table, as a window's objects
// do when it goes: removing it must not hold the table's lock while it is destroyed.
struct ClosesAnother {
  std::function<void()> onDestroy;
  ClosesAnother(std::function<void()> f) : onDestroy(std::move(f)) {}
  ClosesAnother(ClosesAnother&& other) noexcept : onDestroy(std::exchange(other.onDestroy, nullptr)) {}
  ~ClosesAnother() {
    if (onDestroy) onDestroy();
  }
};

TEST(HandleTable, AnObjectBeingRemovedMayUseItsTable) {
  auto table = MakeTable<ClosesAnother>();
  HMENU other = table->Add(ClosesAnother(nullptr));
  bool closed = false;
  HMENU outer = table->Add(ClosesAnother([&] { closed = table->Remove(other); }));
  ASSERT_TRUE(table->Remove(outer));
  EXPECT_TRUE(closed);
  EXPECT_EQ(table->Find(other), nullptr);
}

// Handles that a static object of the framework still holds when the process ends. It is made
// before main, so before any table: a table destroyed at exit would be gone by the time
// these are released.
struct ReleasedAtExit {
  std::vector<std::function<bool()>> releases;
  ~ReleasedAtExit() {
    for (std::size_t i = 0; i < releases.size(); ++i)
      if (!releases[i]()) {
        std::fprintf(stderr, "release %zu failed at exit\n", i);
        std::_Exit(1);
      }
  }
};
ReleasedAtExit releasedAtExit;

TEST(HandleTable, HandlesCanStillBeReleasedDuringExit) {
  EXPECT_EXIT(
      {
        auto& releases = releasedAtExit.releases;
        HMENU menu = CreateMenu();
        releases.push_back([=] { return DestroyMenu(menu) == TRUE; });
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &key) != ERROR_SUCCESS) std::_Exit(2);
        releases.push_back([=] { return RegCloseKey(key) == ERROR_SUCCESS; });
        HRGN region = CreateRectRgn(0, 0, 1, 1);
        releases.push_back([=] { return DeleteObject(region) == TRUE; });
        LOGFONTW logFont{};
        HFONT font = CreateFontIndirectW(&logFont);
        releases.push_back([=] { return DeleteObject(font) == TRUE; });
        HDC dc = CreateCompatibleDC(nullptr);
        releases.push_back([=] { return DeleteDC(dc) == TRUE; });
        HLOCAL local = LocalAlloc(LMEM_FIXED, 8);
        releases.push_back([=] { return LocalFree(local) == nullptr; });
        HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, 8);
        releases.push_back([=] { return GlobalFree(global) == nullptr; });
        HDWP batch = BeginDeferWindowPos(1);
        releases.push_back([=] { return EndDeferWindowPos(batch) == TRUE; });
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
