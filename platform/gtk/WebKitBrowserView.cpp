#include "gtk/WebKitBrowserView.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "core/kernel/PathMapping.h"
#include "gtk/TextConversion.h"
#include "exdisp.h"
#include "mshtmcid.h"
#include "mshtmdid.h"
#include "shellapi.h"
#include "urlmon.h"
#include "gtk/FileAddress.h"
#include "gtk/FindBar.h"
#include "gtk/KeyMessage.h"
#include "gtk/PageMessages.h"
#include "gtk/WebKitCommandPrefixes.h"
#include "gtk/WebKitErrors.h"
#include "gtk/WindowPresenter.h"

namespace gtkui {

namespace {

constexpr guint kScriptTimeoutMs = 5000;
// A page from memory is the host's own: with a file: base WebKit gives it a local origin, so
// that it may ask for the host's commands (about:blank or no base would not). Its script runs
// as a blank page's would.
constexpr char kMemoryPageBase[] = "file:///";
constexpr char kMemoryPageScriptAddress[] = "about:blank";
// A web process that ends again this soon after the page was loaded anew is not tried again.
constexpr gint64 kProcessLostAgainUs = 30 * G_USEC_PER_SEC;
constexpr char16_t kScriptMessageCaption[] = u"Message from webpage";
constexpr DWORD kIconQuestion = 0x20;  // MB_ICONQUESTION

std::u16string PlatformAddress(std::string_view engineUrl) {
  return ToPlatformAddress(engineUrl, core::CurrentPathMapping().get());
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (g_ascii_tolower(text[i]) != g_ascii_tolower(prefix[i])) return false;
  return true;
}

bool IsFileAddress(std::string_view engineUrl) { return StartsWithIgnoringCase(engineUrl, "file:"); }

// What a new window from a page that is not local may open: a web page in the desktop's
// browser, a mail address in its mail program.
bool IsWebOrMailAddress(std::string_view engineUrl) {
  return StartsWithIgnoringCase(engineUrl, "http:") || StartsWithIgnoringCase(engineUrl, "https:") ||
         StartsWithIgnoringCase(engineUrl, "mailto:");
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i];
    char16_t y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
    if (x != y) return false;
  }
  return true;
}

// Addresses as WebKit may write them back: the same once their escapes are decoded.
bool SameAddress(const std::string& expected, const char* reported) {
  if (reported == nullptr) return false;
  if (expected == reported) return true;
  gchar* a = g_uri_unescape_string(expected.c_str(), nullptr);
  gchar* b = g_uri_unescape_string(reported, nullptr);
  const bool same = a != nullptr && b != nullptr && std::string(a) == b;
  g_free(a);
  g_free(b);
  return same;
}

std::string HtmlEscaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c; break;
    }
  }
  return out;
}

// The editing commands the host may name, in WebKit's names.
const char* EditingCommandOf(std::u16string_view command) {
  static const std::pair<const char16_t*, const char*> kCommands[] = {
      {u"Copy", WEBKIT_EDITING_COMMAND_COPY},   {u"Cut", WEBKIT_EDITING_COMMAND_CUT},
      {u"Paste", WEBKIT_EDITING_COMMAND_PASTE}, {u"SelectAll", WEBKIT_EDITING_COMMAND_SELECT_ALL},
      {u"Undo", WEBKIT_EDITING_COMMAND_UNDO},   {u"Redo", WEBKIT_EDITING_COMMAND_REDO},
  };
  for (const auto& [name, webkit] : kCommands)
    if (EqualsIgnoringCase(command, name)) return webkit;
  return nullptr;
}

// "Name: value" lines of the host's extra headers.
void AddHeaders(WebKitURIRequest* request, std::u16string_view headers) {
  SoupMessageHeaders* target = webkit_uri_request_get_http_headers(request);
  if (target == nullptr) return;  // not an HTTP address
  const std::string text = Utf8Of(headers);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos && colon > 0) {
      std::string value = line.substr(colon + 1);
      value.erase(0, value.find_first_not_of(" \t"));
      soup_message_headers_append(target, line.substr(0, colon).c_str(), value.c_str());
    }
    start = end + 1;
  }
}

POINT PointerOnScreen(GtkWidget* widget) {
  GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(widget));
  GdkDevice* pointer = seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
  gint x = 0;
  gint y = 0;
  if (pointer != nullptr) gdk_device_get_position(pointer, nullptr, &x, &y);
  return POINT{x, y};
}

struct ScriptWait {
  bool done = false;
  bool abandoned = false;
  GVariant* value = nullptr;
};

// An answer without parameters (the script threw) or no answer at all leaves the value null.
void OnScriptAnswered(GObject* source, GAsyncResult* result, gpointer data) {
  auto* wait = static_cast<std::shared_ptr<ScriptWait>*>(data);
  GError* error = nullptr;
  WebKitUserMessage* answer = webkit_web_view_send_message_to_page_finish(WEBKIT_WEB_VIEW(source), result, &error);
  if (error != nullptr) g_error_free(error);
  GVariant* value = answer != nullptr ? webkit_user_message_get_parameters(answer) : nullptr;
  if (!(*wait)->abandoned) {
    (*wait)->value = value != nullptr ? g_variant_ref(value) : nullptr;
    (*wait)->done = true;
  }
  if (answer != nullptr) g_object_unref(answer);
  delete wait;
}

bool IsTrue(GVariant* value) {
  return value != nullptr && g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(value);
}

bool IsText(GVariant* value) { return value != nullptr && g_variant_is_of_type(value, G_VARIANT_TYPE_STRING); }

gboolean OnScriptTimeout(gpointer flag) {
  *static_cast<bool*>(flag) = true;
  return G_SOURCE_REMOVE;
}

}  // namespace

// ---- Queued events ----------------------------------------------------------------------

struct WebKitBrowserView::QueuedEvent {
  enum class Kind {
    Policy,             // BeforeNavigate, then use or ignore the decision
    NewWindow,          // BeforeNavigate for a new window; opened outside when not cancelled
    OpenOutside,        // a page WebKit cannot show: the user is asked to open it outside
    NavigateComplete,
    DocumentComplete,
    NavigateError,
    CertificateError,
    Download,           // a download WebKit started: cancelled, the user is told
    PageLost,           // the web process ended: load the page again, or give up
  };

  Kind kind = Kind::NavigateComplete;
  unsigned generation = 0;
  core::BrowserNavigation navigation;  // url, frame, target frame of the event
  std::string engineUrl;
  LONG status = 0;
  WebKitPolicyDecision* decision = nullptr;
  GTlsCertificate* certificate = nullptr;
  GTlsCertificateFlags certificateErrors = static_cast<GTlsCertificateFlags>(0);

  QueuedEvent() = default;
  QueuedEvent(QueuedEvent&& other) noexcept { *this = std::move(other); }
  QueuedEvent& operator=(QueuedEvent&& other) noexcept {
    if (this != &other) {
      Release();
      kind = other.kind;
      generation = other.generation;
      navigation = std::move(other.navigation);
      engineUrl = std::move(other.engineUrl);
      status = other.status;
      decision = std::exchange(other.decision, nullptr);
      certificate = std::exchange(other.certificate, nullptr);
      certificateErrors = other.certificateErrors;
    }
    return *this;
  }
  ~QueuedEvent() { Release(); }

  // Answers the decision; a decision nobody answered is ignored when the event goes.
  void Decide(bool use) {
    if (decision == nullptr) return;
    if (use)
      webkit_policy_decision_use(decision);
    else
      webkit_policy_decision_ignore(decision);
    g_object_unref(std::exchange(decision, nullptr));
  }

 private:
  void Release() {
    Decide(false);
    if (certificate != nullptr) g_object_unref(std::exchange(certificate, nullptr));
  }
};

// ---- Construction -----------------------------------------------------------------------

namespace {

// A related view would share the other page's settings as well as its process; the view's
// own settings object keeps what it sets its own.
WebKitWebView* NewWebView(WebKitWebContext* context, WebKitWebView* sameProcessAs) {
  WebKitSettings* settings = webkit_settings_new();
  gpointer view = sameProcessAs != nullptr
                      ? g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", sameProcessAs, "settings", settings, nullptr)
                      : g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "settings", settings, nullptr);
  g_object_unref(settings);
  return WEBKIT_WEB_VIEW(view);
}

}  // namespace

WebKitBrowserView::WebKitBrowserView(HWND window, core::BrowserHost& host, WebKitWebContext* context,
                                     WebKitWebView* sameProcessAs, std::shared_ptr<const WebKitCommandPrefixes> commands,
                                     bool pageModule)
    : window_(window), host_(host), context_(context), commands_(std::move(commands)), pageModule_(pageModule),
      view_(NewWebView(context, sameProcessAs)), overlay_(gtk_overlay_new()), alive_(std::make_shared<bool>(true)) {
  g_object_ref_sink(view_);
  g_object_ref_sink(overlay_);
  WebKitSettings* settings = webkit_web_view_get_settings(view_);
  webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
  webkit_settings_set_enable_developer_extras(settings, FALSE);
  webkit_settings_set_enable_write_console_messages_to_stdout(settings, FALSE);
  // Local guide pages may read the files beside them, as they may in the platform's browser.
  webkit_settings_set_allow_file_access_from_file_urls(settings, TRUE);

  gtk_container_add(GTK_CONTAINER(overlay_), GTK_WIDGET(view_));
  gtk_widget_show(GTK_WIDGET(view_));
  findBar_ = std::make_unique<FindBar>(GTK_OVERLAY(overlay_), view_);

  g_signal_connect(view_, "decide-policy", G_CALLBACK(&WebKitBrowserView::OnDecidePolicy), this);
  g_signal_connect(view_, "load-changed", G_CALLBACK(&WebKitBrowserView::OnLoadChanged), this);
  g_signal_connect(view_, "load-failed", G_CALLBACK(&WebKitBrowserView::OnLoadFailed), this);
  g_signal_connect(view_, "load-failed-with-tls-errors", G_CALLBACK(&WebKitBrowserView::OnTlsErrors), this);
  g_signal_connect(view_, "context-menu", G_CALLBACK(&WebKitBrowserView::OnContextMenu), this);
  g_signal_connect(view_, "key-press-event", G_CALLBACK(&WebKitBrowserView::OnKey), this);
  g_signal_connect(view_, "key-release-event", G_CALLBACK(&WebKitBrowserView::OnKey), this);
  g_signal_connect(view_, "scroll-event", G_CALLBACK(&WebKitBrowserView::OnScroll), this);
  g_signal_connect(view_, "drag-motion", G_CALLBACK(&WebKitBrowserView::OnDragMotion), this);
  g_signal_connect(view_, "drag-drop", G_CALLBACK(&WebKitBrowserView::OnDragDrop), this);
  g_signal_connect(view_, "drag-data-received", G_CALLBACK(&WebKitBrowserView::OnDragDataReceived), this);
  g_signal_connect(view_, "create", G_CALLBACK(&WebKitBrowserView::OnCreate), this);
  g_signal_connect(view_, "script-dialog", G_CALLBACK(&WebKitBrowserView::OnScriptDialog), this);
  g_signal_connect(view_, "permission-request", G_CALLBACK(&WebKitBrowserView::OnPermissionRequest), this);
  g_signal_connect(view_, "map", G_CALLBACK(&WebKitBrowserView::OnMap), this);
  g_signal_connect(view_, "user-message-received", G_CALLBACK(&WebKitBrowserView::OnPageMessage), this);
  g_signal_connect(view_, "web-process-terminated", G_CALLBACK(&WebKitBrowserView::OnWebProcessTerminated), this);
  // Downloads are the context's: each view takes its own.
  g_signal_connect(context_, "download-started", G_CALLBACK(&WebKitBrowserView::OnDownloadStarted), this);

  events_ = std::make_unique<core::EventDeliveryWindow>(window_, [this] { DeliverNextEvent(); });
  WindowPresenter::Instance().AttachWidget(window_, overlay_);
}

WebKitBrowserView::~WebKitBrowserView() {
  *alive_ = false;
  events_.reset();
  // Unanswered decisions are ignored as the queue goes; WebKit must not call back into a view
  // that is going away.
  g_signal_handlers_disconnect_by_data(view_, this);
  g_signal_handlers_disconnect_by_data(context_, this);
  queue_.clear();
  findBar_.reset();
  webkit_web_view_stop_loading(view_);
  WindowPresenter::Instance().DetachWidget(window_);
  gtk_widget_destroy(overlay_);
  g_object_unref(overlay_);
  g_object_unref(view_);
}

// ---- Host requests ----------------------------------------------------------------------

// WebKit loads into the view's top-level frame only; a frame of the page cannot be named from
// outside it. A target that names no frame of the view ("_blank" or any name other than the
// view's own) is a new window, as the platform's browser makes one for a name it does not
// know.
HRESULT WebKitBrowserView::Navigate(const core::BrowserNavigation& request) {
  if (request.url.empty()) return E_INVALIDARG;
  if (request.frame != 0) return E_NOTIMPL;
  const std::u16string& target = request.targetFrame;
  if (!target.empty() && target != u"_self" && target != u"_top" && target != u"_parent") {
    OpenOutside(request.url);
    return S_OK;
  }
  core::BrowserNavigation navigation = request;
  navigation.userInitiated = false;
  const std::shared_ptr<bool> alive = alive_;
  if (host_.BeforeNavigate(navigation) || !*alive) return S_OK;
  const std::string uri = ToEngineAddress(request.url, core::CurrentPathMapping().get());
  StartTopLevelLoad(false);
  ApplyScriptPermission(request.url);
  if (!*alive) return S_OK;
  approved_ = uri;
  // WebKit's requests carry no body: post data is not sent.
  WebKitURIRequest* uriRequest = webkit_uri_request_new(uri.c_str());
  AddHeaders(uriRequest, request.headers);
  webkit_web_view_load_request(view_, uriRequest);
  g_object_unref(uriRequest);
  return S_OK;
}

HRESULT WebKitBrowserView::Reload() {
  if (!load_.HasDocument()) return S_OK;
  StartReload();
  webkit_web_view_reload(view_);
  return S_OK;
}

void WebKitBrowserView::SetSilent(bool silent) { silent_ = silent; }

void WebKitBrowserView::SetDropTarget(bool acceptDrops) { acceptDrops_ = acceptDrops; }

std::u16string WebKitBrowserView::LocationUrl(core::BrowserFrame frame) const {
  if (frame != 0) {
    auto found = frames_.find(frame);
    return found != frames_.end() && found->second.committed ? found->second.url : std::u16string();
  }
  if (!load_.HasDocument() || load_.MemoryDocument()) return std::u16string();
  return PlatformAddress(committedUri_);
}

// WebKit learns a page's title after the page has finished loading at times; the document
// knows it from the start.
std::u16string WebKitBrowserView::Title(core::BrowserFrame frame) const {
  if (frame != 0 || !load_.HasDocument()) return std::u16string();
  const gchar* title = webkit_web_view_get_title(view_);
  if (title != nullptr && *title != '\0') return Utf16Of(title);
  if (load_.Pending()) return std::u16string();
  GVariant* value = EvaluateAndWait("document.title");
  const std::u16string text = IsText(value) ? Utf16Of(g_variant_get_string(value, nullptr)) : std::u16string();
  if (value != nullptr) g_variant_unref(value);
  return text;
}

bool WebKitBrowserView::HasDocument() const { return load_.HasDocument(); }

HRESULT WebKitBrowserView::LoadHtml(std::string_view bytes) {
  StartTopLevelLoad(true);
  const std::shared_ptr<bool> alive = alive_;
  ApplyScriptPermission(Utf16Of(kMemoryPageScriptAddress));
  if (!*alive) return S_OK;
  approved_ = kMemoryPageBase;
  // The host's text is UTF-8 throughout; a page from memory is read as such.
  GBytes* data = g_bytes_new(bytes.data(), bytes.size());
  webkit_web_view_load_bytes(view_, data, "text/html", "UTF-8", kMemoryPageBase);
  g_bytes_unref(data);
  return S_OK;
}

HRESULT WebKitBrowserView::CreateStyleSheet(std::u16string_view href, LONG index, UINT_PTR* sheet) {
  if (sheet == nullptr) return E_POINTER;
  *sheet = 0;
  if (!load_.HasDocument() && !load_.Pending()) return E_FAIL;
  const UINT_PTR id = nextSheet_++;
  HostStyleSheet& created = sheets_[id];
  // The sheet's address is the platform's; the page imports the file WebKit can read.
  if (!href.empty()) created.href = Utf16Of(ToEngineAddress(href, core::CurrentPathMapping().get()));
  created.index = index;
  RunPageScript(StyleSheetScript(id, created));
  *sheet = id;
  return S_OK;
}

HRESULT WebKitBrowserView::AddRule(UINT_PTR sheet, std::u16string_view selector, std::u16string_view style,
                                   LONG index, LONG* newIndex) {
  auto found = sheets_.find(sheet);
  if (found == sheets_.end() || selector.empty()) return E_INVALIDARG;
  auto& rules = found->second.rules;
  const std::size_t at = index < 0 || static_cast<std::size_t>(index) > rules.size() ? rules.size()
                                                                                     : static_cast<std::size_t>(index);
  rules.insert(rules.begin() + static_cast<std::ptrdiff_t>(at), {std::u16string(selector), std::u16string(style)});
  if (newIndex != nullptr) *newIndex = static_cast<LONG>(at);
  RunPageScript(StyleSheetScript(sheet, found->second));
  return S_OK;
}

// Answered at once from what the view already knows, kept current as the selection changes:
// WebKit's editor state (whether the page allows cutting, copying, pasting, undoing) and the
// page's own report of whether anything is selected.
HRESULT WebKitBrowserView::QueryCommandEnabled(std::u16string_view command, bool* enabled) {
  if (enabled == nullptr) return E_POINTER;
  *enabled = false;
  const char* webkit = EditingCommandOf(command);
  if (webkit == nullptr) return E_INVALIDARG;
  if (!load_.HasDocument()) return S_OK;
  WebKitEditorState* state = webkit_web_view_get_editor_state(view_);
  const std::string name = webkit;
  if (name == WEBKIT_EDITING_COMMAND_SELECT_ALL)
    *enabled = true;
  else if (state == nullptr)
    *enabled = false;
  else if (name == WEBKIT_EDITING_COMMAND_COPY)
    *enabled = hasSelection_ && webkit_editor_state_is_copy_available(state);
  else if (name == WEBKIT_EDITING_COMMAND_CUT)
    *enabled = hasSelection_ && webkit_editor_state_is_cut_available(state);
  else if (name == WEBKIT_EDITING_COMMAND_PASTE)
    *enabled = webkit_editor_state_is_paste_available(state);
  else if (name == WEBKIT_EDITING_COMMAND_UNDO)
    *enabled = webkit_editor_state_is_undo_available(state);
  else if (name == WEBKIT_EDITING_COMMAND_REDO)
    *enabled = webkit_editor_state_is_redo_available(state);
  return S_OK;
}

HRESULT WebKitBrowserView::ExecCommand(std::u16string_view command, bool, bool* done) {
  if (done != nullptr) *done = false;
  const char* webkit = EditingCommandOf(command);
  if (webkit == nullptr) return E_INVALIDARG;
  if (!load_.HasDocument()) return E_FAIL;
  webkit_web_view_execute_editing_command(view_, webkit);
  if (done != nullptr) *done = true;
  return S_OK;
}

// Without a document the command is dropped, as the platform drops it without a page window.
HRESULT WebKitBrowserView::ExecEditCommand(UINT idm) {
  const char* command = nullptr;
  switch (idm) {
    case IDM_COPY: command = WEBKIT_EDITING_COMMAND_COPY; break;
    case IDM_CUT: command = WEBKIT_EDITING_COMMAND_CUT; break;
    case IDM_PASTE: command = WEBKIT_EDITING_COMMAND_PASTE; break;
    default: return E_INVALIDARG;
  }
  if (load_.HasDocument()) webkit_web_view_execute_editing_command(view_, command);
  return S_OK;
}

HRESULT WebKitBrowserView::ShowFind() {
  if (!load_.HasDocument()) return E_FAIL;
  findBar_->Show();
  return S_OK;
}

bool WebKitBrowserView::HasElement(std::u16string_view id) const {
  if (!load_.HasDocument() || load_.Pending()) return false;
  GVariant* value = EvaluateAndWait(ElementExistsScript(id));
  const bool exists = IsTrue(value);
  if (value != nullptr) g_variant_unref(value);
  return exists;
}

HRESULT WebKitBrowserView::GetElementHtml(std::u16string_view id, std::u16string* html) const {
  if (html == nullptr) return E_POINTER;
  html->clear();
  if (!load_.HasDocument() || load_.Pending()) return E_FAIL;
  GVariant* value = EvaluateAndWait(ElementHtmlScript(id));
  if (value == nullptr) return E_FAIL;
  HRESULT result = E_INVALIDARG;
  if (IsText(value)) {
    *html = Utf16Of(g_variant_get_string(value, nullptr));
    result = S_OK;
  }
  g_variant_unref(value);
  return result;
}

// While a new document is on its way the content waits for it, like the host's style sheets.
HRESULT WebKitBrowserView::SetElementHtml(std::u16string_view id, std::u16string_view html) {
  if (load_.Pending()) {
    waitingScripts_.push_back(SetElementHtmlScript(id, html));
    return S_OK;
  }
  if (!load_.HasDocument()) return E_FAIL;
  GVariant* value = EvaluateAndWait(SetElementHtmlScript(id, html));
  if (value == nullptr) return E_FAIL;
  const bool found = IsTrue(value);
  g_variant_unref(value);
  return found ? S_OK : E_INVALIDARG;
}

// ---- WebKit's signals -------------------------------------------------------------------

gboolean WebKitBrowserView::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                           WebKitPolicyDecisionType type, gpointer self) {
  auto* view = static_cast<WebKitBrowserView*>(self);
  switch (type) {
    case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION:
      return view->DecideNavigation(decision);
    case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION:
      return view->DecideNewWindow(decision);
    case WEBKIT_POLICY_DECISION_TYPE_RESPONSE:
      return view->DecideResponse(decision);
    default:
      return FALSE;
  }
}

gboolean WebKitBrowserView::DecideNavigation(WebKitPolicyDecision* decision) {
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  const WebKitNavigationType type = webkit_navigation_action_get_navigation_type(action);
  const bool gesture = webkit_navigation_action_is_user_gesture(action);
  if (approved_ && SameAddress(*approved_, uri)) {
    approved_.reset();
    webkit_policy_decision_use(decision);
    return TRUE;
  }
  // A server's redirect goes on within the navigation that was asked about, as it does in
  // the platform's browser.
  if (webkit_navigation_action_is_redirect(action)) {
    webkit_policy_decision_use(decision);
    return TRUE;
  }
  // A reload asks nothing: the platform's browser raises no before-navigate for a refresh.
  if (type == WEBKIT_NAVIGATION_TYPE_RELOAD) {
    if (!load_.Reloading()) StartReload();
    webkit_policy_decision_use(decision);
    return TRUE;
  }
  const bool subframe = load_.DocumentLoading() && type == WEBKIT_NAVIGATION_TYPE_OTHER && !gesture;
  QueuedEvent event;
  event.kind = QueuedEvent::Kind::Policy;
  event.engineUrl = uri != nullptr ? uri : "";
  event.navigation.url = PlatformAddress(event.engineUrl);
  event.navigation.frame = AskingFrame(uri, subframe ? nextFrame_ : 0);
  if (event.navigation.frame == nextFrame_) ++nextFrame_;
  event.navigation.userInitiated = gesture || type == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED;
  if (type == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED) event.navigation.flags = navHyperlink;
  event.decision = WEBKIT_POLICY_DECISION(g_object_ref(decision));
  Enqueue(std::move(event));
  return TRUE;
}

gboolean WebKitBrowserView::DecideNewWindow(WebKitPolicyDecision* decision) {
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  const char* target = webkit_navigation_action_get_frame_name(action);
  QueuedEvent event;
  event.kind = QueuedEvent::Kind::NewWindow;
  event.engineUrl = uri != nullptr ? uri : "";
  event.navigation.url = PlatformAddress(event.engineUrl);
  event.navigation.targetFrame = Utf16Of(target != nullptr && *target != '\0' ? target : "_blank");
  event.navigation.flags = navOpenInNewWindow;
  event.navigation.userInitiated = webkit_navigation_action_is_user_gesture(action);
  // A new window comes from whichever document the user clicked in: the top-level one only
  // when every document is local, and then the asker is local whichever it is.
  event.navigation.frame =
      commands_->Of(event.engineUrl) != WebKitCommandPrefixes::Match::None
          ? AskingFrame(uri, 0)
          : (OnlyLocalDocuments() ? 0 : core::kUnknownFrame);
  event.decision = WEBKIT_POLICY_DECISION(g_object_ref(decision));
  Enqueue(std::move(event));
  return TRUE;
}

// Responses do tell main frame from subframe: a subframe's marks its commit. A top-level
// response WebKit cannot show is not saved anywhere; the user may open it outside.
gboolean WebKitBrowserView::DecideResponse(WebKitPolicyDecision* decision) {
  WebKitResponsePolicyDecision* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
  const bool main = webkit_response_policy_decision_is_main_frame_main_resource(response);
  const char* uri = webkit_uri_request_get_uri(webkit_response_policy_decision_get_request(response));
  const std::string engineUrl = uri != nullptr ? uri : "";
  const bool supported = webkit_response_policy_decision_is_mime_type_supported(response);
  if (!main && supported) {
    auto frame = std::find_if(frames_.begin(), frames_.end(),
                              [&](const auto& entry) { return !entry.second.committed && entry.second.engineUrl == engineUrl; });
    if (frame == frames_.end())
      frame = std::find_if(frames_.begin(), frames_.end(), [](const auto& entry) { return !entry.second.committed; });
    if (frame != frames_.end()) {
      frame->second.committed = true;
      frame->second.engineUrl = engineUrl;
      frame->second.url = PlatformAddress(engineUrl);
      QueuedEvent event;
      event.kind = QueuedEvent::Kind::NavigateComplete;
      event.navigation.frame = frame->first;
      event.navigation.url = frame->second.url;
      Enqueue(std::move(event));
    } else if (!IsFileAddress(engineUrl)) {
      foreignFrame_ = true;
    }
  }
  if (supported) return FALSE;
  webkit_policy_decision_ignore(decision);
  if (main) {
    QueuedEvent event;
    event.kind = QueuedEvent::Kind::OpenOutside;
    event.navigation.url = PlatformAddress(engineUrl);
    Enqueue(std::move(event));
  }
  return TRUE;
}

void WebKitBrowserView::OnLoadChanged(WebKitWebView*, WebKitLoadEvent loadEvent, gpointer self) {
  auto* view = static_cast<WebKitBrowserView*>(self);
  switch (loadEvent) {
    case WEBKIT_LOAD_STARTED:
      // A top-level load that none of the view's paths started: a navigation taken for a
      // subframe's was the top-level document's after all.
      if (view->load_.LoadStarted()) view->StartTopLevelLoad(false);
      break;
    case WEBKIT_LOAD_COMMITTED:
      view->Committed();
      break;
    case WEBKIT_LOAD_FINISHED:
      view->Finished();
      break;
    default:
      break;
  }
}

void WebKitBrowserView::Committed() {
  hasSelection_ = false;
  const char* uri = webkit_web_view_get_uri(view_);
  committedUri_ = uri != nullptr ? uri : "";
  load_.Committed();
  // A reloaded document gets the host's sheets again (no new navigate-complete asks for them),
  // in the order they were made, so that each finds the sheets it was placed among.
  if (load_.Reloading()) {
    std::vector<std::string> sheets;
    for (const auto& [id, sheet] : sheets_) sheets.push_back(StyleSheetScript(id, sheet));
    waitingScripts_.insert(waitingScripts_.begin(), sheets.begin(), sheets.end());
  }
  for (const std::string& script : std::exchange(waitingScripts_, {})) RunPageScript(script);
  if (load_.MemoryDocument() || load_.Reloading()) return;
  QueuedEvent event;
  event.kind = QueuedEvent::Kind::NavigateComplete;
  event.navigation.url = LocationUrl(0);
  Enqueue(std::move(event));
}

void WebKitBrowserView::Finished() {
  if (!load_.Finished()) return;
  QueuedEvent event;
  event.kind = QueuedEvent::Kind::DocumentComplete;
  event.navigation.url = LocationUrl(0);
  Enqueue(std::move(event));
}

gboolean WebKitBrowserView::OnLoadFailed(WebKitWebView*, WebKitLoadEvent loadEvent, gchar* uri, GError* error,
                                         gpointer self) {
  auto* view = static_cast<WebKitBrowserView*>(self);
  const bool beforeCommit = loadEvent == WEBKIT_LOAD_STARTED || loadEvent == WEBKIT_LOAD_REDIRECTED;
  if (beforeCommit) view->EndLoadBeforeCommit();
  const std::optional<LONG> status = NavigateErrorStatusOf(error);
  if (!status || !beforeCommit) return FALSE;
  QueuedEvent event;
  event.kind = QueuedEvent::Kind::NavigateError;
  event.engineUrl = uri != nullptr ? uri : "";
  event.navigation.url = PlatformAddress(event.engineUrl);
  event.status = *status;
  view->Enqueue(std::move(event));
  // The host decides about the error page when the event reaches it.
  return TRUE;
}

gboolean WebKitBrowserView::OnTlsErrors(WebKitWebView*, gchar* uri, GTlsCertificate* certificate,
                                        GTlsCertificateFlags errors, gpointer self) {
  auto* view = static_cast<WebKitBrowserView*>(self);
  view->EndLoadBeforeCommit();
  QueuedEvent event;
  event.kind = QueuedEvent::Kind::CertificateError;
  event.engineUrl = uri != nullptr ? uri : "";
  event.navigation.url = PlatformAddress(event.engineUrl);
  event.certificate = G_TLS_CERTIFICATE(g_object_ref(certificate));
  event.certificateErrors = errors;
  view->Enqueue(std::move(event));
  return TRUE;
}

gboolean WebKitBrowserView::OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent* event, WebKitHitTestResult*,
                                          gpointer self) {
  auto* view = static_cast<WebKitBrowserView*>(self);
  gdouble x = 0;
  gdouble y = 0;
  // The menu key has no place of its own: the pointer's stands in.
  const POINT point = event != nullptr && gdk_event_get_root_coords(event, &x, &y)
                          ? POINT{static_cast<LONG>(x), static_cast<LONG>(y)}
                          : PointerOnScreen(GTK_WIDGET(view->view_));
  const std::shared_ptr<bool> alive = view->alive_;
  const bool handled = view->host_.ShowContextMenu(point);
  return !*alive || handled;
}

// Each key goes to the host first (the site's TranslateAccelerator and the frames above it);
// what the host leaves is the browser's: F5 reloads, Ctrl+F finds, the rest goes to the page.
gboolean WebKitBrowserView::OnKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* view = static_cast<WebKitBrowserView*>(self);
  const KeySeen seen{event->type, event->time, event->keyval, event->hardware_keycode};
  if (view->lastKey_ == seen) return FALSE;
  view->lastKey_ = seen;
  const MSG message = KeyMessageOf(*event, view->window_);
  if (message.message == 0) return FALSE;
  const std::shared_ptr<bool> alive = view->alive_;
  if (view->host_.TranslateAccelerator(message) || !*alive) return TRUE;
  if (event->type != GDK_KEY_PRESS) return FALSE;
  const guint modifiers = event->state & (GDK_SHIFT_MASK | GDK_CONTROL_MASK | GDK_MOD1_MASK);
  if (message.wParam == VK_F5 && modifiers == 0) {
    view->Reload();
    return TRUE;
  }
  if (message.wParam == 'F' && modifiers == GDK_CONTROL_MASK) {
    view->ShowFind();
    return TRUE;
  }
  // F1 is help: the host's when it has one; WebKit has none of its own.
  if (message.wParam == VK_F1 && modifiers == 0) {
    view->host_.ShowHelp(PointerOnScreen(GTK_WIDGET(view->view_)));
    return TRUE;
  }
  return FALSE;
}

// The wheel is the document's mouse-wheel event; the host may cancel its default action.
gboolean WebKitBrowserView::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self) {
  auto* view = static_cast<WebKitBrowserView*>(self);
  if (!view->load_.HasDocument()) return FALSE;
  core::BrowserEventState state;
  state.shiftKey = (event->state & GDK_SHIFT_MASK) != 0;
  state.ctrlKey = (event->state & GDK_CONTROL_MASK) != 0;
  state.altKey = (event->state & GDK_MOD1_MASK) != 0;
  const std::shared_ptr<bool> alive = view->alive_;
  const bool handled = view->host_.DocumentEvent(DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEWHEEL, state);
  if (!*alive) return TRUE;
  return handled && state.returnValue.has_value() && !*state.returnValue;
}

// Refusing drops before WebKit sees them: a dropped file would otherwise be opened in the view.
gboolean WebKitBrowserView::OnDragMotion(GtkWidget*, GdkDragContext* context, gint, gint, guint time, gpointer self) {
  if (static_cast<WebKitBrowserView*>(self)->acceptDrops_) return FALSE;
  gdk_drag_status(context, static_cast<GdkDragAction>(0), time);
  return TRUE;
}

gboolean WebKitBrowserView::OnDragDrop(GtkWidget*, GdkDragContext* context, gint, gint, guint time, gpointer self) {
  if (static_cast<WebKitBrowserView*>(self)->acceptDrops_) return FALSE;
  gtk_drag_finish(context, FALSE, FALSE, time);
  return TRUE;
}

void WebKitBrowserView::OnDragDataReceived(GtkWidget* widget, GdkDragContext*, gint, gint, GtkSelectionData*, guint,
                                           guint, gpointer self) {
  if (!static_cast<WebKitBrowserView*>(self)->acceptDrops_) g_signal_stop_emission_by_name(widget, "drag-data-received");
}

// New windows were decided already (opened outside or not at all); WebKit makes none.
GtkWidget* WebKitBrowserView::OnCreate(WebKitWebView*, WebKitNavigationAction*, gpointer) { return nullptr; }

// A script's alert or confirmation: none at all from a silent browser (confirmations are
// answered no, leaving the page yes); otherwise the host's message box when it shows one,
// else WebKit's own dialog. Prompts always get WebKit's dialog: a message box has no field.
gboolean WebKitBrowserView::OnScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer self) {
  auto* view = static_cast<WebKitBrowserView*>(self);
  const WebKitScriptDialogType type = webkit_script_dialog_get_dialog_type(dialog);
  const bool confirm = type == WEBKIT_SCRIPT_DIALOG_CONFIRM || type == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM;
  if (view->silent_) {
    if (confirm) webkit_script_dialog_confirm_set_confirmed(dialog, type == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM);
    return TRUE;
  }
  if (type == WEBKIT_SCRIPT_DIALOG_PROMPT) return FALSE;
  const char* message = webkit_script_dialog_get_message(dialog);
  const DWORD boxType = confirm ? MB_OKCANCEL | kIconQuestion : MB_OK | MB_ICONWARNING;
  LRESULT answer = 0;
  const std::shared_ptr<bool> alive = view->alive_;
  const bool shown = view->host_.ShowMessage(Utf16Of(message != nullptr ? message : ""), kScriptMessageCaption,
                                             boxType, &answer);
  if (!*alive) return TRUE;
  if (!shown) return FALSE;
  if (confirm) webkit_script_dialog_confirm_set_confirmed(dialog, answer == IDOK);
  return TRUE;
}

// A guide page has no business with the camera, the location or notifications.
gboolean WebKitBrowserView::OnPermissionRequest(WebKitWebView*, WebKitPermissionRequest* request, gpointer) {
  webkit_permission_request_deny(request);
  return TRUE;
}

void WebKitBrowserView::OnMap(GtkWidget* widget, gpointer self) {
  auto* view = static_cast<WebKitBrowserView*>(self);
  if (std::exchange(view->focusedOnce_, true)) return;
  gtk_widget_grab_focus(widget);
}

// The page's module reports the selection; other messages are not the view's.
gboolean WebKitBrowserView::OnPageMessage(WebKitWebView*, WebKitUserMessage* message, gpointer self) {
  if (g_strcmp0(webkit_user_message_get_name(message), pagemessages::kSelection) != 0) return FALSE;
  static_cast<WebKitBrowserView*>(self)->hasSelection_ = IsTrue(webkit_user_message_get_parameters(message));
  return TRUE;
}

// A download is never saved here: nothing is written to disk that the user did not choose.
// A web address may go to the desktop's browser, which asks the user where to save it.
void WebKitBrowserView::OnDownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer self) {
  auto* view = static_cast<WebKitBrowserView*>(self);
  if (webkit_download_get_web_view(download) != view->view_) return;
  WebKitURIRequest* request = webkit_download_get_request(download);
  const char* uri = request != nullptr ? webkit_uri_request_get_uri(request) : nullptr;
  webkit_download_cancel(download);
  QueuedEvent event;
  event.kind = QueuedEvent::Kind::Download;
  event.engineUrl = uri != nullptr ? uri : "";
  event.navigation.url = PlatformAddress(event.engineUrl);
  view->Enqueue(std::move(event));
}

// The page's web process ended (it crashed, or it was killed): the window would show the last
// picture of a page that no longer answers.
void WebKitBrowserView::OnWebProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                                               gpointer self) {
  if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API) return;
  auto* view = static_cast<WebKitBrowserView*>(self);
  QueuedEvent event;
  event.kind = QueuedEvent::Kind::PageLost;
  event.status = reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT ? 1 : 0;
  view->Enqueue(std::move(event));
}

// ---- Events for the host ----------------------------------------------------------------

void WebKitBrowserView::Enqueue(QueuedEvent event) {
  event.generation = generation_;
  queue_.push_back(std::move(event));
  events_->Post();
}

void WebKitBrowserView::DeliverNextEvent() {
  if (queue_.empty()) return;
  QueuedEvent event = std::move(queue_.front());
  queue_.pop_front();
  Deliver(event);
}

void WebKitBrowserView::Deliver(QueuedEvent& event) {
  const bool current = event.generation == generation_;
  switch (event.kind) {
    case QueuedEvent::Kind::Policy:
      DeliverPolicy(event);
      break;
    case QueuedEvent::Kind::NewWindow:
      DeliverNewWindow(event);
      break;
    case QueuedEvent::Kind::OpenOutside:
      AskToOpenOutside(event.navigation.url);
      break;
    case QueuedEvent::Kind::NavigateComplete:
      if (current) host_.NavigateComplete(event.navigation.frame, event.navigation.url);
      break;
    case QueuedEvent::Kind::DocumentComplete:
      if (current) DeliverDocumentComplete(event);
      break;
    case QueuedEvent::Kind::NavigateError:
      if (current) DeliverNavigateError(event);
      break;
    case QueuedEvent::Kind::CertificateError:
      if (current) DeliverCertificateError(event);
      break;
    case QueuedEvent::Kind::Download:
      DeliverDownload(event);
      break;
    case QueuedEvent::Kind::PageLost:
      DeliverPageLost(event);
      break;
  }
}

void WebKitBrowserView::DeliverPolicy(QueuedEvent& event) {
  const core::BrowserFrame frame = event.navigation.frame;
  // A frame of a document that has been replaced meanwhile loads nothing.
  if (frame != 0 && event.generation != generation_) return;
  const std::shared_ptr<bool> alive = alive_;
  const bool cancelled = host_.BeforeNavigate(event.navigation);
  if (!*alive || cancelled) return;
  if (frame == 0) {
    StartTopLevelLoad(false);
    ApplyScriptPermission(event.navigation.url);
    if (!*alive) return;
  } else if (frame != core::kUnknownFrame) {
    frames_[frame] = Frame{event.navigation.url, event.engineUrl};
  }
  event.Decide(true);
}

// A new window of the platform's browser is the desktop's browser here; the view never
// shows the page itself.
//
// A page that is not local may open no more than a web or mail address that way: a drive
// path or a file would be run or opened by the desktop as if the user had asked.
void WebKitBrowserView::DeliverNewWindow(QueuedEvent& event) {
  event.Decide(false);
  const std::shared_ptr<bool> alive = alive_;
  const bool cancelled = host_.BeforeNavigate(event.navigation);
  if (!*alive || cancelled) return;
  if (event.navigation.frame != 0 && !IsWebOrMailAddress(event.engineUrl)) {
    Tell("a page that is not the local guide asked for a new window with \"" + Utf8Of(event.navigation.url) +
         "\"; nothing was opened: such a page may open only web and mail addresses");
    return;
  }
  OpenOutside(event.navigation.url);
}

// The frames that loaded with the document complete before it, as in the platform's browser.
void WebKitBrowserView::DeliverDocumentComplete(QueuedEvent& event) {
  const std::shared_ptr<bool> alive = alive_;
  const unsigned generation = generation_;
  for (auto& [frame, state] : frames_) {
    if (!state.committed || state.completed) continue;
    state.completed = true;
    host_.DocumentComplete(frame, state.url);
    if (!*alive || generation_ != generation) return;
  }
  host_.DocumentComplete(0, event.navigation.url);
}

void WebKitBrowserView::DeliverNavigateError(QueuedEvent& event) {
  const std::shared_ptr<bool> alive = alive_;
  const bool cancelled = host_.NavigateError(0, event.navigation.url, event.navigation.targetFrame, event.status);
  if (*alive && !cancelled) ShowErrorPage(event.engineUrl, event.status);
}

void WebKitBrowserView::DeliverCertificateError(QueuedEvent& event) {
  const std::shared_ptr<bool> alive = alive_;
  bool goOn = true;
  for (DWORD problem : CertificateProblemsOf(event.certificateErrors)) {
    goOn = host_.ContinueDespiteSecurityProblem(problem);
    if (!*alive) return;
    if (!goOn) break;
  }
  if (!goOn) {
    event.status = kInvalidCertificateStatus;
    DeliverNavigateError(event);
    return;
  }
  GUri* uri = g_uri_parse(event.engineUrl.c_str(), G_URI_FLAGS_NONE, nullptr);
  const char* host = uri != nullptr ? g_uri_get_host(uri) : nullptr;
  if (host != nullptr) webkit_web_context_allow_tls_certificate_for_host(context_, event.certificate, host);
  if (uri != nullptr) g_uri_unref(uri);
  if (host == nullptr) return;
  StartTopLevelLoad(false);
  approved_ = event.engineUrl;
  webkit_web_view_load_uri(view_, event.engineUrl.c_str());
}

void WebKitBrowserView::DeliverDownload(QueuedEvent& event) {
  const HWND owner = GetAncestor(window_, GA_ROOT);
  const std::shared_ptr<bool> alive = alive_;
  if (!StartsWithIgnoringCase(event.engineUrl, "http:") && !StartsWithIgnoringCase(event.engineUrl, "https:")) {
    const std::u16string text = u"The page asked to save a file from\n" + event.navigation.url +
                                u"\n\nNothing was saved: the guide saves no files.";
    MessageBoxW(owner, text.c_str(), u"Download refused", MB_OK | MB_ICONWARNING);
    return;
  }
  const std::u16string text = u"The page asked to save a file from\n" + event.navigation.url +
                              u"\n\nNothing was saved. Open the address in your web browser, which asks "
                              u"where to save it?";
  const int answer = MessageBoxW(owner, text.c_str(), u"Download", MB_YESNO | MB_ICONWARNING);
  if (*alive && answer == IDYES) OpenOutside(event.navigation.url);
}

// Loaded once more; when the process ends again soon after, the page cannot be shown, and a
// window that shows nothing is of no use: the program ends, with a failure status.
void WebKitBrowserView::DeliverPageLost(QueuedEvent& event) {
  const char* why = event.status == 1 ? "it used too much memory" : "it crashed or was ended";
  const gint64 now = g_get_monotonic_time();
  if (!processLostAt_ || now - *processLostAt_ > kProcessLostAgainUs) {
    processLostAt_ = now;
    Tell(std::string("the page's web process ended (") + why + "); the page is loaded again");
    if (!load_.HasDocument()) return;
    StartReload();
    webkit_web_view_reload(view_);
    return;
  }
  const std::u16string text = u"The guide cannot be shown: the program that shows its page ended twice (" +
                              Utf16Of(why) + u").";
  MessageBoxW(GetAncestor(window_, GA_ROOT), text.c_str(), u"Page cannot be shown", MB_OK | MB_ICONERROR);
  std::fflush(stdout);
  std::fflush(stderr);
  // Nothing of the window is of use any more; no unwinding through the GLib loop is needed.
  std::_Exit(1);
}

// ---- The view's own state ---------------------------------------------------------------

void WebKitBrowserView::StartTopLevelLoad(bool fromMemory) {
  ++generation_;
  foreignFrame_ = false;
  load_.StartTopLevel(fromMemory);
  approved_.reset();
  waitingScripts_.clear();
  sheets_.clear();
  frames_.clear();
  if (findBar_ && findBar_->Visible()) findBar_->Hide();
}

// The load failed before its document came: nothing waits for it, and its end reports nothing.
void WebKitBrowserView::EndLoadBeforeCommit() {
  load_.FailedBeforeCommit();
  waitingScripts_.clear();
}

// The same document again: its host sheets stay and are put into the reloaded page.
void WebKitBrowserView::StartReload() {
  ++generation_;
  load_.StartReload();
  foreignFrame_ = false;
  waitingScripts_.clear();
  frames_.clear();
}

// Script runs when the host allows it or leaves it to the browser; the page's markup loses
// its script otherwise. The view's own scripts run in their world either way.
void WebKitBrowserView::ApplyScriptPermission(const std::u16string& url) {
  const std::shared_ptr<bool> alive = alive_;
  const core::UrlActionAnswer answer = host_.ProcessUrlAction(url, URLACTION_SCRIPT_RUN);
  if (!*alive) return;
  webkit_settings_set_enable_javascript_markup(webkit_web_view_get_settings(view_),
                                               answer != core::UrlActionAnswer::Disallow);
}

void WebKitBrowserView::RunPageScript(const std::string& script) {
  if (load_.Pending()) {
    waitingScripts_.push_back(script);
    return;
  }
  if (!load_.HasDocument()) return;
  if (pageModule_) {
    WebKitUserMessage* message = webkit_user_message_new(pagemessages::kRunScript, g_variant_new_string(script.c_str()));
    webkit_web_view_send_message_to_page(view_, message, nullptr, nullptr, nullptr);
    return;
  }
  // Without the module WebKit runs the script itself; it reads the script's value into this
  // process even when nobody asks for it, but the page still gets the host's style.
  webkit_web_view_evaluate_javascript(view_, script.c_str(), static_cast<gssize>(script.size()), kScriptWorld, nullptr,
                                      nullptr, nullptr, nullptr);
}

// The page's module answers asynchronously; the callers need the answer now. The GLib main
// loop runs until it comes (WebKit's replies come through it), and gives up after a while so
// that a hung page cannot hang the caller. The host's events stay queued meanwhile: they are
// delivered from core's loop, which does not run here.
GVariant* WebKitBrowserView::EvaluateAndWait(const std::string& script) const {
  if (!pageModule_) return nullptr;
  auto wait = std::make_shared<ScriptWait>();
  WebKitUserMessage* message = webkit_user_message_new(pagemessages::kEvaluateScript, g_variant_new_string(script.c_str()));
  webkit_web_view_send_message_to_page(view_, message, nullptr, &OnScriptAnswered, new std::shared_ptr<ScriptWait>(wait));
  bool timedOut = false;
  const guint timer = g_timeout_add(kScriptTimeoutMs, &OnScriptTimeout, &timedOut);
  while (!wait->done && !timedOut) g_main_context_iteration(nullptr, TRUE);
  if (!timedOut) g_source_remove(timer);
  if (!wait->done) {
    wait->abandoned = true;
    return nullptr;
  }
  return wait->value;
}

void WebKitBrowserView::ShowErrorPage(const std::string& engineUrl, LONG status) {
  char code[16];
  g_snprintf(code, sizeof code, "0x%x", static_cast<unsigned>(status));
  const std::string url = HtmlEscaped(Utf8Of(PlatformAddress(engineUrl)));
  const std::string page =
      "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Page not shown</title></head>"
      "<body style=\"font-family: sans-serif; margin: 2em\"><h1 style=\"font-size: 1.3em\">This page cannot be shown"
      "</h1><p>" + url + "</p><p style=\"color: #666\">Error " + code + "</p></body></html>";
  StartTopLevelLoad(false);
  approved_ = engineUrl;
  webkit_web_view_load_alternate_html(view_, page.c_str(), engineUrl.c_str(), nullptr);
}

core::BrowserFrame WebKitBrowserView::AskingFrame(const char* uri, core::BrowserFrame guess) const {
  switch (commands_->Of(uri != nullptr ? uri : "")) {
    case WebKitCommandPrefixes::Match::None:
      return guess;
    case WebKitCommandPrefixes::Match::Guarded:
      // WebKit let only a local document through; a guessed subframe has no document yet.
      return guess == 0 ? 0 : core::kUnknownFrame;
    case WebKitCommandPrefixes::Match::Unguarded:
      break;
  }
  return core::kUnknownFrame;
}

bool WebKitBrowserView::OnlyLocalDocuments() const {
  if (!load_.HasDocument() || load_.Pending() || foreignFrame_) return false;
  if (!load_.MemoryDocument() && !IsFileAddress(committedUri_)) return false;
  return std::all_of(frames_.begin(), frames_.end(),
                     [](const auto& entry) { return entry.second.committed && IsFileAddress(entry.second.engineUrl); });
}

void WebKitBrowserView::Tell(const std::string& text) const {
  const HWND top = GetAncestor(window_, GA_ROOT);
  char16_t caption[256] = {};
  const int length = top != nullptr ? GetWindowTextW(top, caption, 256) : 0;
  const std::string who = length > 0 ? Utf8Of(std::u16string_view(caption, static_cast<std::size_t>(length))) : "browser";
  std::fprintf(stderr, "%s: %s\n", who.c_str(), text.c_str());
  std::fflush(stderr);
}

void WebKitBrowserView::OpenOutside(const std::u16string& url) {
  ShellExecuteW(GetAncestor(window_, GA_ROOT), u"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// Like the platform's browser with a file it cannot show, the user decides whether the
// program that handles its type opens it; nothing is saved or run without that.
void WebKitBrowserView::AskToOpenOutside(const std::u16string& url) {
  const std::u16string text = u"This page cannot be shown here:\n" + url +
                              u"\n\nOpen it with the program that handles its type?";
  const std::shared_ptr<bool> alive = alive_;
  const int answer = MessageBoxW(GetAncestor(window_, GA_ROOT), text.c_str(), u"Open outside", MB_YESNO | MB_ICONWARNING);
  if (*alive && answer == IDYES) OpenOutside(url);
}

}  // namespace gtkui
