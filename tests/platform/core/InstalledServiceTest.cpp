// The slot every core service is installed in.
#include "core/kernel/InstalledService.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Service {
  virtual ~Service() = default;
  virtual int Answer() const = 0;
};

struct Numbered : Service {
  explicit Numbered(int n = 0) : n(n) {}
  int Answer() const override { return n; }
  int n;
};

TEST(InstalledService, InstallAnswersWhatItReplacesAndAReaderKeepsAReplacedServiceAlive) {
  core::InstalledService<const Service> slot;
  EXPECT_EQ(slot.Current(), nullptr);
  auto first = std::make_shared<const Numbered>(1);
  EXPECT_EQ(slot.Install(first), nullptr);

  std::shared_ptr<const Service> reading = slot.Current();
  const std::weak_ptr<const Numbered> watched = first;
  std::shared_ptr<const Service> replaced = slot.Install(std::make_shared<const Numbered>(2));
  EXPECT_EQ(replaced, first);
  EXPECT_EQ(slot.Current()->Answer(), 2);

  // Nobody but the reader holds the first service now; it lives until the reader lets go.
  replaced.reset();
  first.reset();
  EXPECT_EQ(reading->Answer(), 1);
  reading.reset();
  EXPECT_TRUE(watched.expired());
  // A slot is never torn down, so what it holds at the end would outlive the test.
  slot.Install(nullptr);
}

TEST(InstalledService, TheDefaultStandsInOnlyWhileNothingIsInstalledAndIsAlwaysTheSame) {
  core::InstalledService<const Service> slot;
  const std::shared_ptr<const Service> fallback = slot.CurrentOrDefault<Numbered>();
  EXPECT_EQ(fallback->Answer(), 0);
  EXPECT_EQ(slot.CurrentOrDefault<Numbered>(), fallback);
  slot.Install(std::make_shared<const Numbered>(7));
  EXPECT_EQ(slot.CurrentOrDefault<Numbered>()->Answer(), 7);
  slot.Install(nullptr);
  EXPECT_EQ(slot.CurrentOrDefault<Numbered>(), fallback);
}

}  // namespace
