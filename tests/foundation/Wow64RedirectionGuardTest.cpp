// The redirection guard over entry points installed by the test. They are installed before
// main, so the guard's one-time lookup finds them; only the stand-in lets a test put entry
// points into kernel32.dll.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/kernel/LoaderEntryPoints.h"
#include "foundation/Wow64RedirectionGuard.h"

namespace {

int disables = 0;
int reverts = 0;
void* revertedState = nullptr;
void* const kState = reinterpret_cast<void*>(static_cast<ULONG_PTR>(0x5150));

BOOL Disable(void** old) {
  ++disables;
  *old = kState;
  return TRUE;
}

BOOL Revert(void* old) {
  ++reverts;
  revertedState = old;
  return TRUE;
}

template <class Function>
FARPROC Entry(Function* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

const bool installed = [] {
  core::InstallEntryPoint(u"kernel32.dll", "Wow64DisableWow64FsRedirection", Entry(&Disable));
  core::InstallEntryPoint(u"kernel32.dll", "Wow64RevertWow64FsRedirection", Entry(&Revert));
  return true;
}();

TEST(Wow64RedirectionGuard, SwitchesOffAndRevertsWithTheSavedState) {
  ASSERT_TRUE(installed);
  const int disablesBefore = disables;
  const int revertsBefore = reverts;
  {
    Wow64RedirectionGuard guard(true);
    EXPECT_EQ(disablesBefore + 1, disables);
    EXPECT_EQ(revertsBefore, reverts);
  }
  EXPECT_EQ(revertsBefore + 1, reverts);
  EXPECT_EQ(kState, revertedState);
}

TEST(Wow64RedirectionGuard, DisabledGuardCallsNeitherEntryPoint) {
  const int disablesBefore = disables;
  const int revertsBefore = reverts;
  { Wow64RedirectionGuard guard(false); }
  EXPECT_EQ(disablesBefore, disables);
  EXPECT_EQ(revertsBefore, reverts);
}

}  // namespace
