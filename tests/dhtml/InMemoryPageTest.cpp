// Pages held in memory, element contents written after the page is up, and the
// document-complete signal.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "../foundation/RecordingLogSink.h"
#include "HostDoubles.h"
#include "HostTestSupport.h"
#include "Shared/Windows/MFC/Dialogs/BrowserVersion.h"
#include "core/registry/RegistryHive.h"
#include "foundation/LogManager.h"

namespace {

using hosttest::Host;

ConstByteRange Bytes(std::string_view text) { return BytesOf(UStringRef<UTF8>(text)); }
UStringRef<UTF8> U8(std::string_view text) { return UStringRef<UTF8>(text); }

// A dialog that counts its document-complete events and what the platform held at each.
class CountingDialog : public CMyDHtmlDialog {
 public:
  using CMyDHtmlDialog::CMyDHtmlDialog;
  int documentCompletes = 0;
  void OnDocumentComplete(LPDISPATCH dispatch, LPCWSTR url) override {
    ++documentCompletes;
    CMyDHtmlDialog::OnDocumentComplete(dispatch, url);
  }
};

class InMemoryPageTest : public hosttest::StyledPageTest {};

TEST_F(InMemoryPageTest, BytesGivenBeforeTheWindowLoadAtTheFirstDocumentComplete) {
  Host<CountingDialog> host;
  host.dialog->SetHtml(Bytes("<p>stored</p>"), false);
  host.Create(false);
  EXPECT_TRUE(host.Browser().LoadedHtml().empty());
  host.Deliver();
  // about:blank completed, then the stored page replaced it and completed too.
  EXPECT_EQ(host.Browser().LoadedHtml(), (std::vector<std::string>{"<p>stored</p>"}));
  EXPECT_EQ(host.dialog->documentCompletes, 2);
  // The loaded page was styled and taken by the platform with no address.
  EXPECT_EQ(host.Browser().StyleSheets().size(), 2u);
  EXPECT_TRUE(host.dialog->m_spHtmlDoc != nullptr);
  EXPECT_TRUE(host.dialog->m_strCurrentUrl.IsEmpty());
}

TEST_F(InMemoryPageTest, BytesGivenLaterLoadAtOnceAndTheSameBytesOnlyOnReload) {
  Host<> host;
  host.Create();
  struct Step {
    const char* bytes;
    bool reload;
    std::size_t loads;
  } steps[] = {
      {"<p>one</p>", false, 1},
      {"<p>one</p>", false, 1},  // the same bytes: nothing
      {"<p>one</p>", true, 2},   // asked to reload
      {"<p>two</p>", false, 3},
      {"", false, 4},            // empty bytes differ from the stored ones
      {"", false, 4},
  };
  for (const Step& step : steps) {
    host.dialog->SetHtml(Bytes(step.bytes), step.reload);
    host.Deliver();
    EXPECT_EQ(host.Browser().LoadedHtml().size(), step.loads) << step.bytes << (step.reload ? " reload" : "");
    EXPECT_EQ(host.Browser().LoadedHtml().back(), step.bytes);
  }
}

TEST_F(InMemoryPageTest, NoStoredBytesLeaveTheNavigatedPage) {
  Host<> host;
  host.dialog->SetHtml(Bytes(""), true);  // equal to the empty store: reload asked, but nothing to load yet
  host.Create();
  EXPECT_TRUE(host.Browser().LoadedHtml().empty());
  EXPECT_EQ(host.Browser().Location(), u"about:blank");
}

TEST_F(InMemoryPageTest, ElementContentIsWrittenAtTheSecondDocumentComplete) {
  hostdoubles::Machine machine(42, {u"C:\\page.html"});
  core::ScriptedPage page;
  page.elements = {{u"title", u"old"}, {u"bad", u"old"}, {u"body", u"old"}};
  Host<> host;
  host.engine->AddPage(u"file:///C:/page.html", page);
  host.dialog->SetElementHtml(U8("title"), U8("<b>Guide</b>"));
  host.dialog->SetElementHtml(U8("bad"), U8("\xFF"));
  host.dialog->SetElementHtml(U8("missing"), U8("never"));
  host.dialog->SetElementHtml(U8("title"), U8("<b>Guide \xC3\xA9</b>"));  // replaces the first text
  host.Create();
  EXPECT_TRUE(host.Browser().ElementWrites().empty());  // about:blank was the first
  host.dialog->Navigate(u"file:///C:/page.html");
  host.Deliver();
  EXPECT_EQ(host.Browser().ElementHtml(u"title"), u"<b>Guide \u00E9</b>");
  const std::u16string bad = host.Browser().ElementHtml(u"bad").value_or(u"");
  EXPECT_EQ(bad.rfind(u"<div class='section'><p>One or more value contains undisplayable character.</p><br/><p>", 0), 0u)
      << hostdoubles::Narrow(bad);
  EXPECT_GT(bad.size(), 100u);  // the failure's description follows
  EXPECT_EQ(bad.substr(bad.size() - 10), u"</p></div>");
  EXPECT_EQ(host.Browser().ElementHtml(u"body"), u"old");
  EXPECT_EQ(host.Browser().ElementWrites().size(), 2u);  // "missing" names no element

  // Later document-complete events write nothing of the stored texts.
  host.dialog->Navigate(u"file:///C:/page.html");
  host.Deliver();
  EXPECT_EQ(host.Browser().ElementWrites().size(), 2u);
  EXPECT_EQ(host.Browser().ElementHtml(u"title"), u"old");
  // A text given now goes into the current page at once.
  host.dialog->SetElementHtml(U8("body"), U8("<i>now</i>"));
  EXPECT_EQ(host.Browser().ElementHtml(u"body"), u"<i>now</i>");
}

TEST_F(InMemoryPageTest, DocumentCompleteSignalFiresForEveryEventFramesIncluded) {
  hostdoubles::Machine machine(42, {u"C:\\frame.html", u"C:\\framed.html"});
  core::ScriptedPage framed;
  framed.frames = {u"file:///C:/frame.html", u"file:///C:/frame.html"};
  Host<CountingDialog> host;
  host.engine->AddPage(u"file:///C:/framed.html", framed);
  int fired = 0;
  host.dialog->documentCompleteSignal.connect([&] { ++fired; });
  host.Create();
  host.dialog->Navigate(u"file:///C:/framed.html");
  host.Deliver();
  EXPECT_EQ(host.dialog->documentCompletes, 4);  // about:blank, two frames, the page
  EXPECT_EQ(fired, 4);
}

// Keeps the critical log open for one test and closes it again.
class CriticalLog {
 public:
  CriticalLog() : sink(std::make_shared<RecordingLogSink>(std::set<std::string>{"critical"}, true)) {
    LogManager::Instance().AddMessageSink(sink);
    LogManager::Instance().Start();
  }
  ~CriticalLog() {
    LogManager::Instance().Stop();
    LogManager::Instance().RemoveSink(*sink);
  }
  std::shared_ptr<RecordingLogSink> sink;
};

TEST_F(InMemoryPageTest, ThrowingDocumentCompleteSlotIsReportedAndTheRestGoesOn) {
  CriticalLog log;
  Host<> host;
  int later = 0;
  host.dialog->documentCompleteSignal.connect([]() { throw std::runtime_error("slot failed"); });
  host.dialog->documentCompleteSignal.connect([&] { ++later; });
  host.dialog->SetHtml(Bytes("<p>stored</p>"), false);
  EXPECT_NO_THROW(host.Create());
  // The stored page still loaded; the slot after the throwing one was not reached.
  EXPECT_EQ(host.Browser().LoadedHtml().size(), 1u);
  EXPECT_EQ(later, 0);
  // Both document-completes are reported at the guard around the signal.
  ASSERT_EQ(log.sink->written.size(), 2u);
  EXPECT_EQ(log.sink->written[0], log.sink->written[1]);
  EXPECT_EQ(log.sink->written[0].rfind("REQUIREMENT FAILURE: false (MyDHtmlDialog.cpp:", 0), 0u) << log.sink->written[0];
  EXPECT_NE(hosttest::HostSourceLineOf(log.sink->written[0]).find("documentCompleteSignal()"), std::string::npos)
      << log.sink->written[0];
}

}  // namespace
