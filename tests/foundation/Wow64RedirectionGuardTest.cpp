// The redirection guard over entry points installed by the test. They are installed before
// main, so the guard's one-time lookup finds them.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/kernel/LoaderEntryPoints.h"
#include "foundation/ReplaceAll.h"
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

TEST(ReplaceAll, ReplacesEveryOccurrenceWithoutRescanning) {
  struct Case {
    std::u16string_view text, pattern, replacement, expected;
  } cases[] = {
      {u"a.b.c", u".", u"\\.", u"a\\.b\\.c"},
      {u"aaa", u"aa", u"a", u"aa"},     // continues after each replacement
      {u"abab", u"ab", u"abab", u"abababab"},  // a replacement is never searched again
      {u"xyz", u"q", u"r", u"xyz"},
      {u"", u"a", u"b", u""},
      {u"abc", u"", u"-", u"abc"},  // an empty pattern matches nowhere
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, ReplaceAll(U16Ref(c.text), U16Ref(c.pattern), U16Ref(c.replacement)).view());
  }
  // Longer than the 256-unit hint.
  const std::u16string many(300, u'x');
  EXPECT_EQ(600u, ReplaceAll(U16Ref(many), U16Ref(std::u16string_view(u"x")), U16Ref(std::u16string_view(u"yy"))).size());
}

}  // namespace
