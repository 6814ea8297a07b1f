// Requirement-failure reports, and turning the logs on from TSR_LOG.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "RecordingLogSink.h"
#include "WideText.h"
#include "foundation/EnableLogsFromEnvironment.h"
#include "foundation/LogLine.h"
#include "foundation/LogManager.h"
#include "foundation/ReportRequirementFailure.h"

namespace {

constexpr std::string_view kCritical = "critical";

// Leaves the process's manager as it found it: stopped and without the sinks a test added.
class ProcessLogTest : public ::testing::Test {
 protected:
  std::vector<std::shared_ptr<LogSink>> added;
  void Add(std::shared_ptr<LogSink> sink) {
    added.push_back(sink);
    LogManager::Instance().AddMessageSink(std::move(sink));
  }
  void TearDown() override {
    LogManager::Instance().Stop();
    for (const auto& sink : added) LogManager::Instance().RemoveSink(*sink);
    SetEnvironmentVariableW(WIDE("TSR_LOG"), nullptr);
  }
};

using ReportRequirementFailureTest = ProcessLogTest;

TEST_F(ReportRequirementFailureTest, WritesExpressionBaseNameAndLineToTheCriticalLog) {
  auto sink = std::make_shared<RecordingLogSink>(std::set<std::string>{"critical"}, true);
  Add(sink);
  LogManager::Instance().Start();
  struct Row {
    const char* file;
    int line;
    const char* expression;
    std::string expected;
  } rows[] = {
      {"dir\\sub/name.ext", 12, "x > 0", "REQUIREMENT FAILURE: x > 0 (name.ext:12)"},  // both separators
      {"dir/sub\\name.ext", 12, "x > 0", "REQUIREMENT FAILURE: x > 0 (name.ext:12)"},
      {"name.ext", 12, "x > 0", "REQUIREMENT FAILURE: x > 0 (name.ext:12)"},  // no separator
      {"C:\\src\\", 7, "false", "REQUIREMENT FAILURE: false (:7)"},          // nothing after the last one
      {"a.cpp", -3, "false", "REQUIREMENT FAILURE: false (a.cpp:-3)"},
      {nullptr, 1, nullptr, "REQUIREMENT FAILURE:  (:1)"},  // lost texts are empty, not a crash
  };
  for (const Row& row : rows) {
    sink->written.clear();
    ReportRequirementFailure(row.file, row.line, row.expression);
    EXPECT_EQ(std::vector<std::string>{row.expected}, sink->written) << (row.file ? row.file : "(null)");
  }
}

TEST_F(ReportRequirementFailureTest, WritesNothingWhileTheCriticalLogIsDisabled) {
  auto other = std::make_shared<RecordingLogSink>(std::set<std::string>{"other"}, true);
  auto critical = std::make_shared<RecordingLogSink>(std::set<std::string>{"critical"}, true);
  Add(other);
  Add(critical);
  ReportRequirementFailure("a.cpp", 1, "stopped");  // a sink, but the manager is stopped
  EXPECT_TRUE(critical->written.empty());
  LogManager::Instance().RemoveSink(*critical);
  LogManager::Instance().Start();
  ReportRequirementFailure("a.cpp", 2, "no sink for it");  // running, but nobody takes the log
  EXPECT_TRUE(other->written.empty());
  EXPECT_TRUE(critical->written.empty());
}

TEST(ParseLogNameList, SplitsAtSeparatorsAndDropsEmptyNamesAndRepeats) {
  struct Row {
    std::string_view list;
    std::vector<std::string> names;
  } rows[] = {
      {"critical", {"critical"}},
      {" critical, ui;;critical\t", {"critical", "ui"}},
      {"", {}},
      {" ,; ", {}},
  };
  for (const Row& row : rows) {
    std::vector<std::string> names;
    for (const auto& name : ParseLogNameList(row.list)) names.emplace_back(name.view());
    EXPECT_EQ(row.names, names) << row.list;
  }
}

using EnableLogsFromEnvironmentTest = ProcessLogTest;

TEST_F(EnableLogsFromEnvironmentTest, WithoutTsrLogNothingIsEnabledOrWritten) {
  for (const WCHAR* value : {static_cast<const WCHAR*>(nullptr), WIDE(""), WIDE(" , ")}) {
    ASSERT_TRUE(SetEnvironmentVariableW(WIDE("TSR_LOG"), value));
    LogManager manager;
    testing::internal::CaptureStderr();
    EXPECT_EQ(nullptr, EnableLogsFromEnvironment(manager));
    EXPECT_FALSE(manager.IsEnabled(kCritical));
    LogLine(kCritical, UStringRef<UTF8>(), manager) << "unseen";
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
  }
}

TEST_F(EnableLogsFromEnvironmentTest, TheListedLogsGoToStandardErrorAtOnce) {
  ASSERT_TRUE(SetEnvironmentVariableW(WIDE("TSR_LOG"), WIDE("ui,critical")));
  LogManager manager;
  const std::shared_ptr<LogSink> sink = EnableLogsFromEnvironment(manager);
  ASSERT_NE(nullptr, sink);
  EXPECT_TRUE(manager.IsEnabled(kCritical));
  EXPECT_TRUE(manager.IsEnabled(std::string_view("ui")));
  EXPECT_FALSE(manager.IsEnabled(std::string_view("other")));

  testing::internal::CaptureStderr();
  LogLine(kCritical, UStringRef<UTF8>(), manager) << "first";
  LogLine(std::string_view("other"), UStringRef<UTF8>(), manager) << "not listed";
  LogLine(std::string_view("ui"), UStringRef<UTF8>(), manager) << "second";
  // Written before any flush: the manager is still running and has not been told to flush.
  EXPECT_EQ("critical: first\nui: second\n", testing::internal::GetCapturedStderr());
  manager.Stop();
}

TEST_F(EnableLogsFromEnvironmentTest, ARequirementFailureReachesStandardErrorThroughTheProcessManager) {
  ASSERT_TRUE(SetEnvironmentVariableW(WIDE("TSR_LOG"), WIDE("critical")));
  const std::shared_ptr<LogSink> sink = EnableLogsFromEnvironment();
  ASSERT_NE(nullptr, sink);
  added.push_back(sink);
  testing::internal::CaptureStderr();
  ReportRequirementFailure("Shared\\Windows/MFC/Dialogs/MyDHtmlDialog.cpp", 215, "false");
  EXPECT_EQ("critical: REQUIREMENT FAILURE: false (MyDHtmlDialog.cpp:215)\n", testing::internal::GetCapturedStderr());
}

}  // namespace
