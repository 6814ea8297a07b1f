#include "support/TestDefaults.h"

#include "support/FixedDesktopFacts.h"
#include "support/MemoryProfileStore.h"

void InstallTestDefaults() {
  InstallDesktopFacts(&DefaultDesktopFacts());
  InstallProfileStore(&DefaultProfileStore());
}
