// The log manager: when logs are enabled, where lines go, flushing and the logging thread.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "RecordingLogSink.h"
#include "foundation/LogDepth.h"
#include "foundation/LogLine.h"
#include "foundation/LogManager.h"

namespace {

constexpr std::string_view kCritical = "critical";

std::shared_ptr<RecordingLogSink> Sink(std::set<std::string> accepted, bool atOnce) {
  return std::make_shared<RecordingLogSink>(std::move(accepted), atOnce);
}

TEST(LogManager, AFreshManagerIsStoppedAndLearnsNoNames) {
  LogManager manager;
  manager.AddMessageSink(Sink({"critical"}, true));
  EXPECT_TRUE(manager.IsStopped());
  EXPECT_FALSE(manager.IsEnabled(kCritical));
  EXPECT_FALSE(manager.Knows(kCritical));
}

TEST(LogManager, ARunningManagerEnablesTheLogsItsSinksAccept) {
  LogManager manager;
  manager.AddMessageSink(Sink({"critical"}, true));
  manager.AddRecordSink(Sink({"records"}, false));
  manager.Start();
  EXPECT_FALSE(manager.IsStopped());
  EXPECT_TRUE(manager.IsEnabled(kCritical));
  EXPECT_TRUE(manager.IsEnabled(std::string_view("records")));
  EXPECT_FALSE(manager.IsEnabled(std::string_view("other")));
  EXPECT_TRUE(manager.Knows(std::string_view("other")));  // asked about, though nobody takes it

  // A sink added later is routed for names already known.
  manager.AddMessageSink(Sink({"other"}, true));
  EXPECT_TRUE(manager.IsEnabled(std::string_view("other")));
  manager.Stop();
  EXPECT_FALSE(manager.IsEnabled(kCritical));
}

TEST(LogManager, PlainLinesGoToMessageSinksAtOnceOrAtTheFlush) {
  LogManager manager;
  auto now = Sink({"critical"}, true);
  auto later = Sink({"critical"}, false);
  auto records = Sink({"critical"}, false);
  manager.AddMessageSink(now);
  manager.AddMessageSink(later);
  manager.AddRecordSink(records);
  manager.Start();
  ASSERT_TRUE(manager.IsEnabled(kCritical));
  // Stopped again, so that no flush of the logging thread comes between the lines below.
  manager.Stop();

  LogLine(kCritical, UStringRef<UTF8>(), manager) << "value " << 42;
  LogLine(kCritical, std::string_view("detail"), manager) << "as a record";
  EXPECT_EQ(std::vector<std::string>{"value 42"}, now->written);
  EXPECT_TRUE(later->written.empty());
  EXPECT_TRUE(records->written.empty());

  manager.Flush();
  EXPECT_EQ(std::vector<std::string>{"value 42"}, now->written);
  EXPECT_EQ(std::vector<std::string>{"value 42"}, later->written);
  EXPECT_EQ(std::vector<std::string>{"record critical/detail: as a record"}, records->written);
  manager.Flush();  // the queues were emptied
  EXPECT_EQ(1u, later->written.size());
}

TEST(LogManager, AFailingSinkNeitherReachesTheProducerNorStarvesTheNext) {
  LogManager manager;
  auto failingNow = Sink({"critical"}, true);
  auto failingLater = Sink({"critical"}, false);
  auto now = Sink({"critical"}, true);
  auto later = Sink({"critical"}, false);
  failingNow->fails = failingLater->fails = true;
  for (const auto& sink : {failingNow, failingLater, now, later}) manager.AddMessageSink(sink);
  manager.Start();
  ASSERT_TRUE(manager.IsEnabled(kCritical));
  manager.Stop();

  EXPECT_NO_THROW(LogLine(kCritical, UStringRef<UTF8>(), manager) << "line");
  EXPECT_EQ(std::vector<std::string>{"line"}, now->written);
  EXPECT_NO_THROW(manager.Flush());
  EXPECT_EQ(std::vector<std::string>{"line"}, later->written);
}

TEST(LogManager, TheLoggingThreadNamesItselfAndFlushesWhenStopped) {
  LogManager manager;
  auto later = Sink({"critical"}, false);
  manager.AddMessageSink(later);
  manager.Start();
  ASSERT_TRUE(manager.IsEnabled(kCritical));
  LogLine(kCritical, UStringRef<UTF8>(), manager) << "queued";
  manager.Stop();  // returns once the thread has flushed for the last time and ended
  EXPECT_EQ(std::vector<std::string>{"queued"}, later->written);
  EXPECT_EQ("Logging", later->writerName);

  manager.Start();  // a stopped manager starts again
  EXPECT_TRUE(manager.IsEnabled(kCritical));
  manager.Stop();
}

TEST(LogManager, ARemovedSinkGetsWhatWaitedForItAndNothingAfter) {
  LogManager manager;
  auto later = Sink({"critical"}, false);
  manager.AddMessageSink(later);
  manager.Start();
  ASSERT_TRUE(manager.IsEnabled(kCritical));
  manager.Stop();
  LogLine(kCritical, UStringRef<UTF8>(), manager) << "waiting";
  manager.RemoveSink(*later);
  EXPECT_EQ(std::vector<std::string>{"waiting"}, later->written);
  LogLine(kCritical, UStringRef<UTF8>(), manager) << "after";
  manager.Flush();
  EXPECT_EQ(1u, later->written.size());
}

TEST(LogManager, ADestroyedManagerWritesWhatIsStillQueued) {
  auto later = Sink({"critical"}, false);
  {
    LogManager manager;
    manager.AddMessageSink(later);
    manager.Start();
    ASSERT_TRUE(manager.IsEnabled(kCritical));
    manager.Stop();
    LogLine(kCritical, UStringRef<UTF8>(), manager) << "left over";
  }
  EXPECT_EQ(std::vector<std::string>{"left over"}, later->written);
}

TEST(LogLine, IsIndentedTwoSpacesPerLevelOfTheThreadsLogDepth) {
  LogManager manager;
  auto now = Sink({"critical"}, true);
  manager.AddMessageSink(now);
  manager.Start();
  ASSERT_TRUE(manager.IsEnabled(kCritical));
  LogLine(kCritical, UStringRef<UTF8>(), manager) << "x";  // no depth at all
  TheLogDepth().Reset(new std::uint32_t(0));
  LogLine(kCritical, UStringRef<UTF8>(), manager) << "x";
  TheLogDepth().Reset(new std::uint32_t(3));
  LogLine(kCritical, UStringRef<UTF8>(), manager) << "x";
  TheLogDepth().Reset();
  manager.Stop();
  EXPECT_EQ((std::vector<std::string>{"x", "x", "      x"}), now->written);
}

TEST(LogManager, TheIntervalBecomesAWaitThatNeverSpins) {
  const std::int64_t kUnbounded = std::numeric_limits<std::int64_t>::max();
  struct Row {
    std::int64_t microseconds;
    DWORD milliseconds;
  } rows[] = {
      {LogManager::kIntervalMicroseconds, 1000},
      {kUnbounded, INFINITE},
      {kUnbounded - 1, INFINITE - 1},  // too long for a bounded wait: capped below "without end"
      {std::int64_t{INFINITE} * 1000, INFINITE - 1},
      {std::int64_t{INFINITE - 1} * 1000, INFINITE - 1},
      {std::int64_t{INFINITE - 2} * 1000, INFINITE - 2},
      {1, 1},      // rounded up: a positive interval must not become a busy loop
      {1500, 2},
      {2000, 2},
      {0, 0},
      {-5, 0},
      {std::numeric_limits<std::int64_t>::min(), 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.milliseconds, LogManager::WaitMilliseconds(row.microseconds)) << row.microseconds;
  }
}

}  // namespace
