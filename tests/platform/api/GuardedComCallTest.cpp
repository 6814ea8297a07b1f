// The guard between COM callers and our code: what it catches is reported with the place of
// the guarded call, and the caller hears the failure answer.
#include <GuardedComCall.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include <afxdhtml.h>
#include <afxocc.h>

namespace {

struct Report {
  std::string file;
  int line = 0;
  std::string expression;
  int count = 0;
};

// A framework exception that tells when it is released.
class CountedException : public CException {
 public:
  explicit CountedException(bool* deleted) : deleted_(deleted) {}
  ~CountedException() override { *deleted_ = true; }

 private:
  bool* deleted_;
};

// The source line a report names, read from the file it names. The compiler names sources
// relative to the build folder ("../../platform/..."); they are found from the source tree's
// root.
std::string SourceLine(const Report& report) {
  std::filesystem::path file(report.file);
  if (file.is_relative()) {
    std::filesystem::path rooted = std::filesystem::path(TSR_SOURCE_ROOT);
    for (const std::filesystem::path& part : file.lexically_normal())
      if (part != "..") rooted /= part;
    file = rooted;
  }
  std::ifstream source(file);
  std::string text;
  for (int i = 0; i < report.line && std::getline(source, text); ++i) {
  }
  return text;
}

TEST(GuardedComCall, AThrowingCallIsReportedAtItsPlaceAndAnswersTheFailureCode) {
  Report report;
  const auto record = [&report](const char* file, int line, const char* expression) {
    report = Report{file, line, expression, report.count + 1};
  };

  const int line = __LINE__ + 1;
  const HRESULT thrown = GuardedComCall(record, "answered", []() -> HRESULT { throw std::runtime_error("no"); });
  EXPECT_EQ(thrown, E_FAIL);
  EXPECT_EQ(report.count, 1);
  EXPECT_EQ(report.file, __FILE__);
  EXPECT_EQ(report.line, line);
  EXPECT_EQ(report.expression, "answered");

  // A framework exception is released, not leaked; a plain call's own answer passes through
  // and nothing is reported.
  bool deleted = false;
  EXPECT_FALSE(GuardedCall(record, "asked", false, [&]() -> bool { throw new CountedException(&deleted); }));
  EXPECT_TRUE(deleted);
  EXPECT_EQ(report.count, 2);
  EXPECT_EQ(GuardedComCall(record, "answered", [] { return HRESULT{S_FALSE}; }), S_FALSE);
  int ran = 0;
  GuardedCall(record, "done", [&] { ++ran; });
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(report.count, 2);
}

// A dialog whose answer to the browser's host question throws, and that keeps what it is told.
class CThrowingDialog : public CDHtmlDialog {
 public:
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO*) override { throw std::runtime_error("host info"); }
  void ReportGuardedFailure(const char* file, int line, const char* expression) override {
    report = Report{file, line, expression, report.count + 1};
  }
  Report report;
};

TEST(GuardedComCall, TheBrowserSiteReportsAThrowingHandlerToItsDialogAtTheGuardedCall) {
  CThrowingDialog dialog;
  CBrowserControlSite site(nullptr, &dialog);
  DOCHOSTUIINFO info{};
  EXPECT_EQ(site.GetHostInfo(&info), E_FAIL);
  ASSERT_EQ(dialog.report.count, 1);
  EXPECT_NE(dialog.report.file.find("CBrowserControlSite.cpp"), std::string::npos) << dialog.report.file;
  // The line named is the guarded call itself, not a fixed number.
  EXPECT_NE(SourceLine(dialog.report).find("m_pHandler->GetHostInfo("), std::string::npos)
      << dialog.report.file << ":" << dialog.report.line;
}

}  // namespace
