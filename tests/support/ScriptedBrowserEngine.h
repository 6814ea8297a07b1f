// A browser engine for tests: pages are described by the test, every request of the host is
// recorded, and the test acts the way a user and a real browser act (following links,
// pressing keys, turning the wheel, asking for script), through the same host questions.
//
// Events follow the platform's order: BeforeNavigate at once inside Navigate; the rest
// (NavigateComplete, the frames' events, DocumentComplete) is queued and delivered through
// core's message queue, so a modal loop delivers it; DeliverPendingEvents delivers it at once
// for tests without a loop.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/com/BrowserEngine.h"
#include "core/com/EventDeliveryWindow.h"

namespace core {

// A page the scripted browser knows by its address. An address no page describes loads as
// an empty page.
struct ScriptedPage {
  std::u16string title;
  // Elements by id, with their inner HTML.
  std::map<std::u16string, std::u16string> elements;
  // queryCommandEnabled's answers by command name ("Copy", "Cut", "Paste", "SelectAll");
  // names not listed are disabled.
  std::map<std::u16string, bool> enabledCommands;
  // The page's frames: frame i + 1 loads frames[i] after the page commits.
  std::vector<std::u16string> frames;
  // Not 0: the navigation fails with this status (NavigateError) instead of loading.
  LONG errorStatus = 0;
};

// One navigation the view was asked to make, by the host or by a test action.
struct ScriptedNavigation {
  BrowserNavigation request;
  bool cancelled = false;  // the host cancelled it in BeforeNavigate
  bool newWindow = false;  // "_blank": opened outside the view, not loaded
};

struct ScriptedStyleRule {
  std::u16string selector;
  std::u16string style;
};

struct ScriptedStyleSheet {
  std::u16string page;  // the top-level address the sheet was made for
  std::u16string href;
  LONG index = 0;       // as createStyleSheet was asked
  std::vector<ScriptedStyleRule> rules;  // in the sheet's order
};

class ScriptedBrowserEngine;
class ScriptedView;

// What one view was asked and did, and the test's actions on it. It lives on after the
// view's window is gone (IsOpen() false; actions then do nothing and answer false).
class ScriptedBrowser {
 public:
  explicit ScriptedBrowser(ScriptedBrowserEngine& engine);

  // ---- Records ----
  bool IsOpen() const { return host_ != nullptr; }
  HWND Window() const { return window_; }
  const std::vector<ScriptedNavigation>& Navigations() const { return navigations_; }
  // The addresses opened outside the view ("_blank"), in order.
  std::vector<std::u16string> NewWindows() const;
  int Reloads() const { return reloads_; }
  // Every sheet made on the view, in the order they were made.
  const std::vector<ScriptedStyleSheet>& StyleSheets() const { return styleSheets_; }
  // The current top-level page's sheets in document order (createStyleSheet's index
  // honoured).
  std::vector<const ScriptedStyleSheet*> PageStyleSheets() const;
  // The bytes of every page loaded from memory, in order.
  const std::vector<std::string>& LoadedHtml() const { return loadedHtml_; }
  // The current top-level page's element, if it has one with that id.
  std::optional<std::u16string> ElementHtml(const std::u16string& id) const;
  // Every SetElementHtml that reached an element, in order: (id, html).
  const std::vector<std::pair<std::u16string, std::u16string>>& ElementWrites() const { return elementWrites_; }
  // IDM_COPY, IDM_CUT, IDM_PASTE ..., in order.
  const std::vector<UINT>& EditCommands() const { return editCommands_; }
  // execCommand's command names, in order.
  const std::vector<std::u16string>& ExecutedCommands() const { return executedCommands_; }
  int FindsShown() const { return findsShown_; }
  int Scrolls() const { return scrolls_; }
  // Where the view's own context menu showed.
  const std::vector<POINT>& MenusShown() const { return menusShown_; }
  // The texts of the message boxes the view showed itself.
  const std::vector<std::u16string>& MessagesShown() const { return messagesShown_; }
  int HelpShown() const { return helpShown_; }
  bool Silent() const { return silent_; }
  bool AcceptsDrops() const { return acceptsDrops_; }
  // The committed address of a frame ("" for a page from memory and before any page).
  std::u16string Location(BrowserFrame frame = 0) const;
  std::u16string Title(BrowserFrame frame = 0) const;
  bool HasDocument() const { return hasDocument_; }
  bool HasPendingEvents() const { return !pending_.empty(); }

  // ---- Actions ----
  // A link followed in frame (targetFrame "_blank": a new window): BeforeNavigate, then
  // (when not cancelled) the load. Answers whether the navigation went ahead.
  bool ClickLink(const std::u16string& url, BrowserFrame frame = 0, const std::u16string& targetFrame = u"",
                 bool userInitiated = true);
  // A key message offered to the host first; F5 not taken by the host reloads. Answers
  // whether the host took it.
  bool PressKey(WPARAM virtualKey, UINT message = WM_KEYDOWN);
  // The document's mouse-wheel event (1033); the page scrolls unless the host cancels it.
  // Answers whether it scrolled.
  bool TurnWheel(bool shift);
  // A right click; the view's own menu shows unless the host takes it. Answers whether it
  // showed.
  bool RightClick(POINT screenPoint);
  // URLACTION_SCRIPT_RUN for the current page.
  UrlActionAnswer AskToRunScript();
  UrlActionAnswer AskUrlAction(DWORD action, const std::u16string& url);
  // A certificate problem of the page being loaded; answers whether it loads anyway.
  bool RaiseCertificateProblem(DWORD problem);
  DWORD AskHostFlags();
  // A script's message box; the view shows its own unless the host does. Answers whether
  // the host showed it.
  bool ShowScriptMessage(const std::u16string& text, const std::u16string& caption = u"", DWORD type = 0);
  // F1 on the page; the view shows its own help unless the host does. Answers whether the
  // host did.
  bool AskForHelp();
  // Delivers this view's queued events now, and those they queue.
  void DeliverPendingEvents();

 private:
  friend class ScriptedView;
  friend class ScriptedBrowserEngine;

  struct PageState {
    std::u16string address;
    ScriptedPage page;
  };
  struct PendingEvent {
    enum Kind { BeforeFrameNavigate, NavigateComplete, DocumentComplete, NavigateError } kind;
    BrowserFrame frame;
    std::u16string url;
    LONG status = 0;
    bool errorPage = false;  // the browser's own page for a failed navigation
  };

  void Open(BrowserHost* host, HWND window);
  void Close();
  bool Navigate(const BrowserNavigation& request);
  void Load(BrowserFrame frame, const std::u16string& url);
  void Commit(BrowserFrame frame, const std::u16string& url, bool errorPage);
  void LoadFromMemory(std::string bytes);
  void Deliver(const PendingEvent& event);
  void DropPendingOf(BrowserFrame frame);
  void Post();
  const PageState* FrameState(BrowserFrame frame) const;

  ScriptedBrowserEngine& engine_;
  BrowserHost* host_ = nullptr;
  HWND window_ = nullptr;
  std::unique_ptr<EventDeliveryWindow> events_;
  bool posted_ = false;
  bool hasDocument_ = false;
  PageState top_;
  std::map<BrowserFrame, PageState> frames_;
  std::deque<PendingEvent> pending_;
  std::vector<ScriptedNavigation> navigations_;
  int reloads_ = 0;
  std::vector<ScriptedStyleSheet> styleSheets_;
  std::vector<std::size_t> pageSheets_;  // indexes into styleSheets_, in document order
  std::vector<std::string> loadedHtml_;
  std::vector<std::pair<std::u16string, std::u16string>> elementWrites_;
  std::vector<UINT> editCommands_;
  std::vector<std::u16string> executedCommands_;
  int findsShown_ = 0;
  int scrolls_ = 0;
  std::vector<POINT> menusShown_;
  std::vector<std::u16string> messagesShown_;
  int helpShown_ = 0;
  bool silent_ = false;
  bool acceptsDrops_ = true;
};

class ScriptedBrowserEngine : public BrowserEngine, public std::enable_shared_from_this<ScriptedBrowserEngine> {
 public:
  using Action = std::function<void(ScriptedBrowser&)>;

  ScriptedBrowserEngine() = default;
  ~ScriptedBrowserEngine() override;

  void AddPage(const std::u16string& address, ScriptedPage page);
  std::unique_ptr<BrowserView> CreateView(HWND window, BrowserHost& host) override;

  // Every view made so far, oldest first.
  std::size_t BrowserCount() const { return browsers_.size(); }
  ScriptedBrowser& Browser(std::size_t index) { return *browsers_.at(index); }
  // The newest view; throws std::out_of_range when none was made.
  ScriptedBrowser& LastBrowser();
  // Delivers the queued events of every view, and those the deliveries queue.
  void DeliverPendingEvents();
  // Runs action once, right after the DocumentComplete of the top-level page at address has
  // been delivered to the host (which may end a modal run from there: "close:").
  void WhenDocumentCompletes(const std::u16string& address, Action action);
  // The page described for an address, or null.
  const ScriptedPage* FindPage(const std::u16string& address) const;

 private:
  friend class ScriptedBrowser;
  void DocumentCompleted(ScriptedBrowser& browser, const std::u16string& address);

  std::map<std::u16string, ScriptedPage> pages_;
  std::vector<std::shared_ptr<ScriptedBrowser>> browsers_;
  std::vector<std::pair<std::u16string, Action>> completionActions_;
};

// Installs a new scripted engine as the browser engine and answers it.
std::shared_ptr<ScriptedBrowserEngine> InstallScriptedBrowserEngine();

}  // namespace core
