// GetKeyState over a table of the keys that are down. The platform keeps this per thread as
// the thread's messages leave it; here the one user-interface thread's table is set by the
// presenter (from the desktop's key events) or by a test.
#include "core/user/KeyboardState.h"

#include <array>

namespace {
std::array<bool, 256>& KeysDown() {
  static std::array<bool, 256> keys{};
  return keys;
}
}  // namespace

void SetVirtualKeyDown(int virtualKey, bool down) {
  if (virtualKey >= 0 && virtualKey < 256) KeysDown()[static_cast<std::size_t>(virtualKey)] = down;
}

void ReleaseAllVirtualKeys() { KeysDown().fill(false); }

SHORT GetKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey >= 256) return 0;
  // The high bit set makes a key that is down read as negative.
  return KeysDown()[static_cast<std::size_t>(virtualKey)] ? static_cast<SHORT>(0x8000) : 0;
}
