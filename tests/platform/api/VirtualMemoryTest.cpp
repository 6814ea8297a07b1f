// VirtualQuery over the memory the platform hands out: the region of a global block from any
// address inside it, and a failure for memory whose extent it does not know.
#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(VirtualQuery, AnAddressInsideAGlobalBlockAnswersTheWholeBlock) {
  HGLOBAL block = GlobalAlloc(GPTR, 100);
  ASSERT_NE(block, nullptr);
  auto* bytes = static_cast<BYTE*>(GlobalLock(block));
  for (BYTE* at : {bytes, bytes + 37, bytes + 99}) {
    MEMORY_BASIC_INFORMATION region{};
    ASSERT_EQ(VirtualQuery(at, &region, sizeof(region)), sizeof(region));
    EXPECT_EQ(region.BaseAddress, bytes);
    EXPECT_EQ(region.RegionSize, 100u);
    EXPECT_EQ(region.State, static_cast<DWORD>(MEM_COMMIT));
    EXPECT_EQ(region.Protect, static_cast<DWORD>(PAGE_READWRITE));
  }
  MEMORY_BASIC_INFORMATION region{};
  EXPECT_EQ(VirtualQuery(bytes, &region, sizeof(region) - 1), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_LENGTH));
  GlobalUnlock(block);
  GlobalFree(block);
  // Freed, the block is no region any more.
  EXPECT_EQ(VirtualQuery(bytes, &region, sizeof(region)), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
}

TEST(VirtualQuery, MemoryOfUnknownExtentIsNoRegion) {
  int onTheStack = 0;
  MEMORY_BASIC_INFORMATION region{};
  EXPECT_EQ(VirtualQuery(&onTheStack, &region, sizeof(region)), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
}

}  // namespace
