// The default before-navigate hook as the browser drives it: the listeners first, then the
// document check, then the policy's decision carried out on the navigation.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "../foundation/RecordingLogSink.h"
#include "HostDoubles.h"
#include "HostTestSupport.h"
#include "Shared/Windows/MFC/Dialogs/BrowserVersion.h"
#include "foundation/LogManager.h"

namespace {

using hostdoubles::Machine;
using hostdoubles::Narrow;
using hosttest::Host;

struct Outcome {
  bool wentAhead;
  std::vector<std::string> machine;  // what the shell and the file system were asked
  std::vector<std::string> newWindows;
};

Outcome Click(Host<>& host, Machine& machine, const std::u16string& url) {
  machine.Take();
  const std::size_t windowsBefore = host.Browser().NewWindows().size();
  Outcome outcome;
  outcome.wentAhead = host.Browser().ClickLink(url);
  host.Deliver();
  outcome.machine = machine.Take();
  const std::vector<std::u16string> windows = host.Browser().NewWindows();
  for (std::size_t i = windowsBefore; i < windows.size(); ++i) outcome.newWindows.push_back(Narrow(windows[i]));
  return outcome;
}

TEST(NavigationHook, WithACurrentDocumentThePolicyDecides) {
  Machine machine(42, {u"C:\\Existing.html"});
  Host<> host;
  host.Create();
  struct Case {
    const char16_t* url;
    bool wentAhead;
    std::vector<std::string> machine;
    std::vector<std::string> newWindows;
  } cases[] = {
      {u"HtTpS://example.com/", false, {"shell open HtTpS://example.com/ show=1"}, {}},
      {u"mailto:someone", false, {"shell default mailto:someone show=1"}, {}},
      {u"file:///C:/Existing.html", true, {"attributes C:\\Existing.html"}, {}},
      {u"file:///C:/Missing.html", false, {"attributes C:\\Missing.html"}, {"file:///C:/Missing.html"}},
      {u"javascript:void(0)", true, {"attributes javascript:void(0)"}, {}},
      {u"about:blank", false, {"attributes about:blank"}, {"about:blank"}},
  };
  for (const Case& c : cases) {
    // Each case starts from a page that holds a document.
    host.dialog->Navigate(u"file:///C:/Existing.html");
    host.Deliver();
    const Outcome outcome = Click(host, machine, c.url);
    EXPECT_EQ(outcome.wentAhead, c.wentAhead) << Narrow(c.url);
    EXPECT_EQ(outcome.machine, c.machine) << Narrow(c.url);
    EXPECT_EQ(outcome.newWindows, c.newWindows) << Narrow(c.url);
  }
}

TEST(NavigationHook, WebAddressTheShellCannotOpenGoesToANewWindow) {
  Machine machine(SE_ERR_NOASSOC);
  Host<> host;
  host.Create();
  const Outcome outcome = Click(host, machine, u"http://example.com/");
  EXPECT_FALSE(outcome.wentAhead);
  EXPECT_EQ(outcome.newWindows, (std::vector<std::string>{"http://example.com/"}));
}

TEST(NavigationHook, TargetThatCannotBeReadLeavesTheHookWithoutCancelling) {
  Machine machine;
  Host<> host;
  host.Create();
  // A file address without "//" names no path: the failure leaves the hook, the platform's
  // event delivery answers it as an exception, and the navigation is not cancelled.
  const Outcome outcome = Click(host, machine, u"file:C:/page.html");
  EXPECT_TRUE(outcome.wentAhead);
  EXPECT_TRUE(outcome.machine.empty());
  EXPECT_TRUE(outcome.newWindows.empty());
}

TEST(NavigationHook, WithoutACurrentDocumentEverythingLoadsInPlace) {
  Machine machine;
  Host<> host;
  host.Create(false);  // about:blank has not completed: no document is held
  EXPECT_TRUE(host.dialog->m_spHtmlDoc == nullptr);
  const Outcome outcome = Click(host, machine, u"http://example.com/");
  EXPECT_TRUE(outcome.wentAhead);
  EXPECT_TRUE(outcome.machine.empty());
  EXPECT_EQ(host.Browser().Location(), u"http://example.com/");
}

TEST(NavigationHook, ListenerThatCancelsStopsEveryNavigationTheFirstIncluded) {
  Machine machine;
  Host<> host;
  std::vector<std::string> heard;
  host.dialog->beforeNavigateSignal.connect([&](const UStringRef<UTF8>& target) {
    heard.emplace_back(target.view());
    return true;
  });
  host.Create();
  ASSERT_EQ(host.Browser().Navigations().size(), 1u);
  EXPECT_TRUE(host.Browser().Navigations()[0].cancelled);
  EXPECT_FALSE(Click(host, machine, u"file:///C:/\u00E9t\u00E9.html").wentAhead);
  EXPECT_EQ(heard, (std::vector<std::string>{"about:blank", "file:///C:/\xC3\xA9t\xC3\xA9.html"}));
  EXPECT_TRUE(machine.Take().empty());
}

TEST(NavigationHook, ThrowingListenerIsReportedAndCancels) {
  auto sink = std::make_shared<RecordingLogSink>(std::set<std::string>{"critical"}, true);
  LogManager::Instance().AddMessageSink(sink);
  LogManager::Instance().Start();
  {
    Host<> host;
    host.dialog->beforeNavigateSignal.connect([](const UStringRef<UTF8>&) -> bool { throw std::runtime_error("x"); });
    host.Create();
    EXPECT_TRUE(host.Browser().Navigations()[0].cancelled);
  }
  LogManager::Instance().Stop();
  LogManager::Instance().RemoveSink(*sink);
  // Reported at the guard around the listeners, wherever edits have moved it.
  ASSERT_EQ(sink->written.size(), 1u);
  EXPECT_EQ(sink->written[0].rfind("REQUIREMENT FAILURE: false (MyDHtmlDialog.cpp:", 0), 0u) << sink->written[0];
  EXPECT_NE(hosttest::HostSourceLineOf(sink->written[0]).find("GuardedCall("), std::string::npos) << sink->written[0];
}

}  // namespace
