#include "foundation/RegistryKey.h"

void RegistryKey::Reset(HKEY key) noexcept {
  // A failed close cannot be acted on by anyone; the handle is given up either way.
  if (key_ != nullptr) RegCloseKey(key_);
  key_ = key;
}
