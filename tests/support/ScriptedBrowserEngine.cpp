// The scripted browser: pages from the test's descriptions, events in the platform's order,
// everything asked recorded.
#include "support/ScriptedBrowserEngine.h"

#include <algorithm>
#include <stdexcept>

#include "core/kernel/UtfCodec.h"
#include "mshtmdid.h"
#include "urlmon.h"

namespace core {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A page from memory: its title and the ids of its elements (each with empty content), read
// from the markup the way a test writes it (id="x" or id='x').
ScriptedPage PageFromMarkup(const std::string& bytes) {
  ScriptedPage page;
  for (std::size_t at = bytes.find("id="); at != std::string::npos; at = bytes.find("id=", at + 3)) {
    if (at == 0 || !IsSpace(bytes[at - 1]) || at + 3 >= bytes.size()) continue;
    const char quote = bytes[at + 3];
    if (quote != '"' && quote != '\'') continue;
    const std::size_t end = bytes.find(quote, at + 4);
    if (end == std::string::npos) break;
    page.elements.emplace(Utf::LenientUtf16(std::string_view(bytes).substr(at + 4, end - at - 4)), u"");
  }
  const std::size_t title = bytes.find("<title>");
  const std::size_t titleEnd = title == std::string::npos ? title : bytes.find("</title>", title);
  if (titleEnd != std::string::npos) page.title = Utf::LenientUtf16(std::string_view(bytes).substr(title + 7, titleEnd - title - 7));
  return page;
}

// Inserts value at index of items; an index out of range (or negative) appends. Answers the
// position taken.
template <class T>
LONG InsertAt(std::vector<T>& items, LONG index, T value) {
  const std::size_t position = index < 0 || static_cast<std::size_t>(index) > items.size() ? items.size()
                                                                                          : static_cast<std::size_t>(index);
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(position), std::move(value));
  return static_cast<LONG>(position);
}

}  // namespace

// ---- The view -----------------------------------------------------------------------------

// The engine's side of one control: its requests go to the browser record. It keeps the
// engine alive, whose pages and records the browser uses.
class ScriptedView : public BrowserView {
 public:
  ScriptedView(std::shared_ptr<ScriptedBrowserEngine> engine, std::shared_ptr<ScriptedBrowser> browser, HWND window,
               BrowserHost& host)
      : engine_(std::move(engine)), browser_(std::move(browser)) {
    browser_->Open(&host, window);
  }
  ~ScriptedView() override { browser_->Close(); }

  HRESULT Navigate(const BrowserNavigation& request) override {
    browser_->Navigate(request);
    return S_OK;
  }
  HRESULT Reload() override {
    ++browser_->reloads_;
    return S_OK;
  }
  void SetSilent(bool silent) override { browser_->silent_ = silent; }
  void SetDropTarget(bool acceptDrops) override { browser_->acceptsDrops_ = acceptDrops; }
  std::u16string LocationUrl(BrowserFrame frame) const override { return browser_->Location(frame); }
  std::u16string Title(BrowserFrame frame) const override { return browser_->Title(frame); }
  bool HasDocument() const override { return browser_->hasDocument_; }
  HRESULT LoadHtml(std::string_view bytes) override {
    browser_->LoadFromMemory(std::string(bytes));
    return S_OK;
  }
  HRESULT CreateStyleSheet(std::u16string_view href, LONG index, UINT_PTR* sheet) override {
    if (sheet == nullptr) return E_POINTER;
    ScriptedBrowser& b = *browser_;
    b.styleSheets_.push_back(ScriptedStyleSheet{b.top_.address, std::u16string(href), index, {}});
    InsertAt(b.pageSheets_, index, b.styleSheets_.size() - 1);
    *sheet = b.styleSheets_.size();  // 1-based, so that 0 names no sheet
    return S_OK;
  }
  HRESULT AddRule(UINT_PTR sheet, std::u16string_view selector, std::u16string_view style, LONG index,
                  LONG* newIndex) override {
    ScriptedBrowser& b = *browser_;
    if (sheet == 0 || sheet > b.styleSheets_.size()) return E_INVALIDARG;
    const LONG position = InsertAt(b.styleSheets_[sheet - 1].rules, index,
                                   ScriptedStyleRule{std::u16string(selector), std::u16string(style)});
    if (newIndex != nullptr) *newIndex = position;
    return S_OK;
  }
  HRESULT QueryCommandEnabled(std::u16string_view command, bool* enabled) override {
    if (enabled == nullptr) return E_POINTER;
    const auto& commands = browser_->top_.page.enabledCommands;
    const auto it = commands.find(std::u16string(command));
    *enabled = it != commands.end() && it->second;
    return S_OK;
  }
  HRESULT ExecCommand(std::u16string_view command, bool showUI, bool* done) override {
    browser_->executedCommands_.emplace_back(command);
    bool enabled = false;
    QueryCommandEnabled(command, &enabled);
    if (done != nullptr) *done = enabled;
    return S_OK;
  }
  HRESULT ExecEditCommand(UINT idm) override {
    browser_->editCommands_.push_back(idm);
    return S_OK;
  }
  HRESULT ShowFind() override {
    ++browser_->findsShown_;
    return S_OK;
  }
  bool HasElement(std::u16string_view id) const override {
    return browser_->top_.page.elements.count(std::u16string(id)) != 0;
  }
  HRESULT GetElementHtml(std::u16string_view id, std::u16string* html) const override {
    if (html == nullptr) return E_POINTER;
    const auto& elements = browser_->top_.page.elements;
    const auto it = elements.find(std::u16string(id));
    if (it == elements.end()) return E_INVALIDARG;
    *html = it->second;
    return S_OK;
  }
  HRESULT SetElementHtml(std::u16string_view id, std::u16string_view html) override {
    auto& elements = browser_->top_.page.elements;
    const auto it = elements.find(std::u16string(id));
    if (it == elements.end()) return E_INVALIDARG;
    it->second = std::u16string(html);
    browser_->elementWrites_.emplace_back(std::u16string(id), std::u16string(html));
    return S_OK;
  }

 private:
  std::shared_ptr<ScriptedBrowserEngine> engine_;
  std::shared_ptr<ScriptedBrowser> browser_;
};

// ---- The browser record -------------------------------------------------------------------

ScriptedBrowser::ScriptedBrowser(ScriptedBrowserEngine& engine) : engine_(engine) {}

void ScriptedBrowser::Open(BrowserHost* host, HWND window) {
  host_ = host;
  window_ = window;
  events_ = std::make_unique<EventDeliveryWindow>(window, [this] { DeliverPendingEvents(); });
}

void ScriptedBrowser::Close() {
  host_ = nullptr;
  pending_.clear();
  events_.reset();
}

std::vector<std::u16string> ScriptedBrowser::NewWindows() const {
  std::vector<std::u16string> addresses;
  for (const ScriptedNavigation& navigation : navigations_)
    if (navigation.newWindow) addresses.push_back(navigation.request.url);
  return addresses;
}

std::vector<const ScriptedStyleSheet*> ScriptedBrowser::PageStyleSheets() const {
  std::vector<const ScriptedStyleSheet*> sheets;
  for (std::size_t index : pageSheets_) sheets.push_back(&styleSheets_[index]);
  return sheets;
}

std::optional<std::u16string> ScriptedBrowser::ElementHtml(const std::u16string& id) const {
  const auto it = top_.page.elements.find(id);
  if (it == top_.page.elements.end()) return std::nullopt;
  return it->second;
}

const ScriptedBrowser::PageState* ScriptedBrowser::FrameState(BrowserFrame frame) const {
  if (frame == 0) return &top_;
  const auto it = frames_.find(frame);
  return it != frames_.end() ? &it->second : nullptr;
}

std::u16string ScriptedBrowser::Location(BrowserFrame frame) const {
  const PageState* state = FrameState(frame);
  return state != nullptr ? state->address : std::u16string();
}

std::u16string ScriptedBrowser::Title(BrowserFrame frame) const {
  const PageState* state = FrameState(frame);
  return state != nullptr ? state->page.title : std::u16string();
}

bool ScriptedBrowser::Navigate(const BrowserNavigation& request) {
  // Recorded before the host is asked, so that navigations the host starts meanwhile come
  // after it.
  const std::size_t index = navigations_.size();
  navigations_.push_back(ScriptedNavigation{request, false, false});
  const bool newWindow = request.targetFrame == u"_blank";
  // The host's own request for a new window is not put to it again; a link the user
  // follows is.
  if (!newWindow || request.userInitiated) {
    if (host_ == nullptr) return false;
    const bool cancelled = host_->BeforeNavigate(request);
    navigations_[index].cancelled = cancelled;
    if (cancelled || host_ == nullptr) return false;
  }
  if (newWindow) {
    navigations_[index].newWindow = true;
    return true;
  }
  Load(request.frame, request.url);
  return true;
}

void ScriptedBrowser::DropPendingOf(BrowserFrame frame) {
  pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                [&](const PendingEvent& event) { return event.frame == frame; }),
                 pending_.end());
}

void ScriptedBrowser::Load(BrowserFrame frame, const std::u16string& url) {
  // A newer navigation of a frame ends what the frame was still loading; a new top-level
  // page ends everything.
  if (frame == 0)
    pending_.clear();
  else
    DropPendingOf(frame);
  const ScriptedPage* page = engine_.FindPage(url);
  if (page != nullptr && page->errorStatus != 0) {
    pending_.push_back(PendingEvent{PendingEvent::NavigateError, frame, url, page->errorStatus});
    Post();
    return;
  }
  pending_.push_back(PendingEvent{PendingEvent::NavigateComplete, frame, url});
  if (frame == 0 && page != nullptr) {
    BrowserFrame id = 1;
    for (const std::u16string& address : page->frames) {
      pending_.push_back(PendingEvent{PendingEvent::BeforeFrameNavigate, id, address});
      pending_.push_back(PendingEvent{PendingEvent::NavigateComplete, id, address});
      pending_.push_back(PendingEvent{PendingEvent::DocumentComplete, id, address});
      ++id;
    }
  }
  pending_.push_back(PendingEvent{PendingEvent::DocumentComplete, frame, url});
  Post();
}

void ScriptedBrowser::Commit(BrowserFrame frame, const std::u16string& url, bool errorPage) {
  const ScriptedPage* page = errorPage ? nullptr : engine_.FindPage(url);
  PageState state{url, page != nullptr ? *page : ScriptedPage{}};
  if (frame != 0) {
    frames_[frame] = std::move(state);
    return;
  }
  top_ = std::move(state);
  frames_.clear();
  pageSheets_.clear();
  hasDocument_ = true;
}

void ScriptedBrowser::LoadFromMemory(std::string bytes) {
  pending_.clear();
  top_ = PageState{u"", PageFromMarkup(bytes)};
  frames_.clear();
  pageSheets_.clear();
  hasDocument_ = true;
  loadedHtml_.push_back(std::move(bytes));
  pending_.push_back(PendingEvent{PendingEvent::DocumentComplete, 0, u""});
  Post();
}

void ScriptedBrowser::Post() {
  if (posted_) return;
  if (events_) posted_ = events_->Post();
}

void ScriptedBrowser::DeliverPendingEvents() {
  posted_ = false;
  while (!pending_.empty() && host_ != nullptr) {
    const PendingEvent event = pending_.front();
    pending_.pop_front();
    Deliver(event);
  }
}

void ScriptedBrowser::Deliver(const PendingEvent& event) {
  switch (event.kind) {
    case PendingEvent::BeforeFrameNavigate: {
      BrowserNavigation request;
      request.url = event.url;
      request.frame = event.frame;
      const std::size_t index = navigations_.size();
      navigations_.push_back(ScriptedNavigation{request, false, false});
      const bool cancelled = host_->BeforeNavigate(request);
      navigations_[index].cancelled = cancelled;
      if (cancelled) DropPendingOf(event.frame);
      break;
    }
    case PendingEvent::NavigateComplete:
      Commit(event.frame, event.url, event.errorPage);
      host_->NavigateComplete(event.frame, event.url);
      break;
    case PendingEvent::DocumentComplete:
      host_->DocumentComplete(event.frame, event.url);
      if (event.frame == 0 && host_ != nullptr) engine_.DocumentCompleted(*this, event.url);
      break;
    case PendingEvent::NavigateError:
      // Not cancelled: the browser shows its own error page at the address.
      if (!host_->NavigateError(event.frame, event.url, u"", event.status)) {
        pending_.push_front(PendingEvent{PendingEvent::DocumentComplete, event.frame, event.url, 0, true});
        pending_.push_front(PendingEvent{PendingEvent::NavigateComplete, event.frame, event.url, 0, true});
      }
      break;
  }
}

bool ScriptedBrowser::ClickLink(const std::u16string& url, BrowserFrame frame, const std::u16string& targetFrame,
                                bool userInitiated) {
  if (!IsOpen()) return false;
  BrowserNavigation request;
  request.url = url;
  request.targetFrame = targetFrame;
  request.frame = frame;
  request.userInitiated = userInitiated;
  return Navigate(request);
}

bool ScriptedBrowser::PressKey(WPARAM virtualKey, UINT message) {
  if (!IsOpen()) return false;
  const MSG msg{window_, message, virtualKey, 0, 0, {0, 0}};
  const bool taken = host_->TranslateAccelerator(msg);
  if (!taken && message == WM_KEYDOWN && virtualKey == VK_F5 && IsOpen()) ++reloads_;
  return taken;
}

bool ScriptedBrowser::TurnWheel(bool shift) {
  if (!IsOpen()) return false;
  BrowserEventState state;
  state.shiftKey = shift;
  if (host_->DocumentEvent(DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEWHEEL, state)) return false;
  ++scrolls_;
  return true;
}

bool ScriptedBrowser::RightClick(POINT screenPoint) {
  if (!IsOpen() || host_->ShowContextMenu(screenPoint)) return false;
  menusShown_.push_back(screenPoint);
  return true;
}

UrlActionAnswer ScriptedBrowser::AskToRunScript() { return AskUrlAction(URLACTION_SCRIPT_RUN, top_.address); }

UrlActionAnswer ScriptedBrowser::AskUrlAction(DWORD action, const std::u16string& url) {
  return IsOpen() ? host_->ProcessUrlAction(url, action) : UrlActionAnswer::Default;
}

bool ScriptedBrowser::RaiseCertificateProblem(DWORD problem) {
  return IsOpen() && host_->ContinueDespiteSecurityProblem(problem);
}

DWORD ScriptedBrowser::AskHostFlags() { return IsOpen() ? host_->HostFlags() : 0; }

bool ScriptedBrowser::ShowScriptMessage(const std::u16string& text, const std::u16string& caption, DWORD type) {
  if (!IsOpen()) return false;
  LRESULT result = 0;
  if (host_->ShowMessage(text, caption, type, &result)) return true;
  messagesShown_.push_back(text);
  return false;
}

bool ScriptedBrowser::AskForHelp() {
  if (!IsOpen()) return false;
  if (host_->ShowHelp(POINT{0, 0})) return true;
  ++helpShown_;
  return false;
}

// ---- The engine ---------------------------------------------------------------------------

ScriptedBrowserEngine::~ScriptedBrowserEngine() = default;

void ScriptedBrowserEngine::AddPage(const std::u16string& address, ScriptedPage page) {
  pages_[address] = std::move(page);
}

const ScriptedPage* ScriptedBrowserEngine::FindPage(const std::u16string& address) const {
  const auto it = pages_.find(address);
  return it != pages_.end() ? &it->second : nullptr;
}

std::unique_ptr<BrowserView> ScriptedBrowserEngine::CreateView(HWND window, BrowserHost& host) {
  auto browser = std::make_shared<ScriptedBrowser>(*this);
  browsers_.push_back(browser);
  return std::make_unique<ScriptedView>(weak_from_this().lock(), browser, window, host);
}

ScriptedBrowser& ScriptedBrowserEngine::LastBrowser() {
  if (browsers_.empty()) throw std::out_of_range("the scripted engine has made no view");
  return *browsers_.back();
}

void ScriptedBrowserEngine::DeliverPendingEvents() {
  for (bool delivered = true; delivered;) {
    delivered = false;
    for (std::size_t i = 0; i < browsers_.size(); ++i) {
      if (!browsers_[i]->HasPendingEvents() || !browsers_[i]->IsOpen()) continue;
      browsers_[i]->DeliverPendingEvents();
      delivered = true;
    }
  }
}

void ScriptedBrowserEngine::WhenDocumentCompletes(const std::u16string& address, Action action) {
  completionActions_.emplace_back(address, std::move(action));
}

void ScriptedBrowserEngine::DocumentCompleted(ScriptedBrowser& browser, const std::u16string& address) {
  const auto it = std::find_if(completionActions_.begin(), completionActions_.end(),
                               [&](const auto& entry) { return entry.first == address; });
  if (it == completionActions_.end()) return;
  Action action = std::move(it->second);
  completionActions_.erase(it);
  action(browser);
}

std::shared_ptr<ScriptedBrowserEngine> InstallScriptedBrowserEngine() {
  auto engine = std::make_shared<ScriptedBrowserEngine>();
  InstallBrowserEngine(engine);
  return engine;
}

}  // namespace core
