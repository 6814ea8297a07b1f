#include "support/TestDefaults.h"

#include <memory>

#include "support/FixedDesktopFacts.h"
#include "support/MemoryProfileStore.h"

namespace {

// The defaults live for the whole program, so the slots hold them without owning them.
template <class Service>
std::shared_ptr<Service> Unowned(Service& service) {
  return std::shared_ptr<Service>(std::shared_ptr<void>(), &service);
}

}  // namespace

void InstallTestDesktop() { core::InstallDesktopFacts(Unowned(DefaultDesktopFacts())); }

void InstallTestProfileStore() { core::InstallProfileStore(Unowned(DefaultProfileStore())); }

void InstallTestDefaults() {
  InstallTestDesktop();
  InstallTestProfileStore();
}
