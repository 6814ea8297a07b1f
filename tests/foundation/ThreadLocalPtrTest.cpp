// Per-thread pointers, the clean-up list that disposes of a thread's values, and thread names.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "foundation/ThreadCleanupList.h"
#include "foundation/ThreadExitHooks.h"
#include "foundation/ThreadLocalPtr.h"
#include "foundation/ThreadName.h"

namespace {

// Notes its id when it is deleted.
struct Probe {
  std::vector<int>* deleted;
  int id;
  ~Probe() { deleted->push_back(id); }
};

template <class Body>
void OnAnotherThread(Body body) {
  std::thread(body).join();
}

class ThreadLocalPtrTest : public ::testing::Test {
 protected:
  std::vector<int> deleted;
  Probe* Make(int id) { return new Probe{&deleted, id}; }
};

TEST_F(ThreadLocalPtrTest, ValuesBelongToTheirThreadAndAFreshThreadGetsNull) {
  ThreadLocalPtr<Probe> slot;
  slot.Reset(Make(1));
  OnAnotherThread([&] {
    SetLastError(ERROR_ACCESS_DENIED);  // whatever came before, a null value is no failure
    Probe* seen = reinterpret_cast<Probe*>(1);
    EXPECT_NO_THROW(seen = slot.Get());
    EXPECT_EQ(nullptr, seen);
    slot.Reset(Make(2));
    EXPECT_EQ(2, slot.Get()->id);
    slot();  // this thread's clean-up disposes of its value only
    EXPECT_EQ(nullptr, slot.Get());
  });
  EXPECT_EQ(std::vector<int>{2}, deleted);
  ASSERT_NE(nullptr, slot.Get());
  EXPECT_EQ(1, slot.Get()->id);
}

TEST_F(ThreadLocalPtrTest, ResetDisposesOfTheReplacedValueButNotOfTheSamePointer) {
  ThreadLocalPtr<Probe> slot;
  Probe* first = Make(1);
  slot.Reset(first);
  slot.Reset(first);
  EXPECT_TRUE(deleted.empty());
  EXPECT_EQ(first, slot.Get());
  slot.Reset(Make(2));
  EXPECT_EQ(std::vector<int>{1}, deleted);
  slot.Reset();
  EXPECT_EQ((std::vector<int>{1, 2}), deleted);
  EXPECT_EQ(nullptr, slot.Get());
}

TEST_F(ThreadLocalPtrTest, DestructionDisposesOfTheCallersValueAndLeavesTheCleanUpList) {
  {
    ThreadLocalPtr<Probe> slot;
    slot.Reset(Make(1));
  }
  EXPECT_EQ(std::vector<int>{1}, deleted);
  // The destroyed pointer is no longer called when this thread's clean-ups run.
  EXPECT_NO_THROW(TheThreadCleanupList()());
}

TEST_F(ThreadLocalPtrTest, AThreadRunningTheExitHooksDisposesOfAllItsValues) {
  ThreadLocalPtr<Probe> first;
  ThreadLocalPtr<std::uint32_t> second;
  OnAnotherThread([&] {
    first.Reset(Make(7));
    second.Reset(new std::uint32_t(3));
    TheThreadExitHooks().Run();
    EXPECT_EQ(nullptr, first.Get());
    EXPECT_EQ(nullptr, second.Get());
  });
  EXPECT_EQ(std::vector<int>{7}, deleted);
}

// Notes its place in the run; the one marked to fail throws after noting it.
class Step : public Callable<void (*)()> {
 public:
  Step(std::vector<int>& ran, int id, bool fails = false) : ran_(ran), id_(id), fails_(fails) {}
  void operator()() override {
    ran_.push_back(id_);
    if (fails_) throw std::runtime_error("clean-up failed");
  }

 private:
  std::vector<int>& ran_;
  int id_;
  bool fails_;
};

TEST(ThreadCleanupList, RunsEachElementOnceInRegistrationOrderAcrossSegments) {
  std::vector<int> ran;
  std::vector<std::unique_ptr<Step>> steps;
  ThreadCleanupList list;
  for (int id = 0; id < 100; ++id) {  // 8 + 16 + 32 + 64: four segments
    steps.push_back(std::make_unique<Step>(ran, id, id == 1));
    list.Add(*steps.back());
  }
  list.Withdraw(*steps[5]);
  EXPECT_EQ(100u, list.Count());

  list();
  std::vector<int> expected;
  for (int id = 0; id < 100; ++id) {
    if (id != 5) expected.push_back(id);  // withdrawn; the failing one does not stop the rest
  }
  EXPECT_EQ(expected, ran);
}

TEST(ThreadName, IsKeptPerThreadReplacedAndDisposedOfAtThreadEnd) {
  OnAnotherThread([] {
    SetThreadName(std::string_view("first"));
    ASSERT_NE(nullptr, TheThreadName().Get());
    EXPECT_EQ("first", *TheThreadName().Get());
    SetThreadName(std::string_view("second"));
    EXPECT_EQ("second", *TheThreadName().Get());
    OnAnotherThread([] { EXPECT_EQ(nullptr, TheThreadName().Get()); });
    TheThreadExitHooks().Run();
    EXPECT_EQ(nullptr, TheThreadName().Get());
  });
}

}  // namespace
