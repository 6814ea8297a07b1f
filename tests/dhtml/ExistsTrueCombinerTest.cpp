// The combiner of the host's bool signals, on the signal library it is made for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <boost/signals2/signal.hpp>

#include "Shared/Windows/MFC/Dialogs/ExistsTrueCombiner.h"

namespace {

using BoolSignal = boost::signals2::signal<bool(int), ExistsTrueCombiner>;

TEST(ExistsTrueCombiner, FirstTrueSlotEndsTheCall) {
  struct Case {
    std::vector<bool> answers;
    bool expected;
    std::size_t called;
  } cases[] = {
      {{}, false, 0},  // no slot: false
      {{false, false}, false, 2},
      {{false, true, true}, true, 2},  // the third slot is not called
      {{true}, true, 1},
  };
  for (const Case& c : cases) {
    BoolSignal signal;
    std::vector<int> calls;
    for (std::size_t i = 0; i < c.answers.size(); ++i) {
      const bool answer = c.answers[i];
      signal.connect([&calls, i, answer](int argument) {
        calls.push_back(static_cast<int>(i) * 100 + argument);
        return answer;
      });
    }
    EXPECT_EQ(signal(7), c.expected);
    ASSERT_EQ(calls.size(), c.called);
    // Each slot got the argument, in connection order.
    for (std::size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(calls[i], static_cast<int>(i) * 100 + 7);
  }
}

}  // namespace
