// A browser view on WebKitGTK: a WebKitWebView (with its find bar, in a GtkOverlay) that the
// presenter shows where the view's "Internet Explorer_Server" window is.
//
// WebKit's events are turned into the host's events in two steps. The view's own state
// (which document is committed, which frames load, the scripts waiting for a document)
// follows WebKit at once, in the signal handlers; what the host is told or asked is queued
// and delivered from core's message loop, one posted message per event, so that the host
// runs where it runs for every other message and never inside a WebKit signal. Navigation
// policy decisions wait in the queue too: WebKit lets a decision be made later.
//
// What WebKit does not tell: its navigation actions do not say which frame navigates. A
// navigation that the parser of the loading top-level document starts (type "other", no
// user gesture, between the document's commit and its end) is taken for a subframe's and
// gets a frame id of its own; its response (which does say main frame or not) reports its
// NavigateComplete, and its DocumentComplete comes right before the top-level one. Every
// other navigation is taken for the top-level document's. A link followed inside a frame,
// or one aimed at a named frame, is therefore reported as frame 0.
//
// WebKit's requests carry no body: post data given to Navigate is not sent.
//
// The view's scripts run in the page through its module in the web process (WebProcessModule),
// which answers with GVariants and reports the page's selection: a script value read in the
// view's process would start a JavaScriptCore engine here, a few MiB for a yes or a text.
// Without the module WebKit still runs the host's style sheets (paying that price), but
// nothing answers the questions about the page's elements and selection.
#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "core/com/BrowserEngine.h"
#include "core/com/EventDeliveryWindow.h"
#include "gtk/JavaScriptText.h"
#include "gtk/WebKitLoadState.h"

namespace gtkui {

class FindBar;
class WebKitCommandPrefixes;

class WebKitBrowserView : public core::BrowserView {
 public:
  // The view's scripts run in a world of their own: the page's scripts cannot see or replace
  // what they define, and they run whether or not the page may run script.
  static constexpr char kScriptWorld[] = "tsr-browser-host";

  // The view's page runs in the web process of sameProcessAs when that is given (a page of
  // the same context), else in one WebKit starts for it. pageModule: whether the context's
  // web processes load the module that runs the view's scripts.
  WebKitBrowserView(HWND window, core::BrowserHost& host, WebKitWebContext* context, WebKitWebView* sameProcessAs,
                    std::shared_ptr<const WebKitCommandPrefixes> commands, bool pageModule);
  ~WebKitBrowserView() override;
  WebKitBrowserView(const WebKitBrowserView&) = delete;
  WebKitBrowserView& operator=(const WebKitBrowserView&) = delete;

  HRESULT Navigate(const core::BrowserNavigation& request) override;
  HRESULT Reload() override;
  void SetSilent(bool silent) override;
  void SetDropTarget(bool acceptDrops) override;
  std::u16string LocationUrl(core::BrowserFrame frame) const override;
  std::u16string Title(core::BrowserFrame frame) const override;
  bool HasDocument() const override;
  HRESULT LoadHtml(std::string_view bytes) override;
  HRESULT CreateStyleSheet(std::u16string_view href, LONG index, UINT_PTR* sheet) override;
  HRESULT AddRule(UINT_PTR sheet, std::u16string_view selector, std::u16string_view style, LONG index,
                  LONG* newIndex) override;
  HRESULT QueryCommandEnabled(std::u16string_view command, bool* enabled) override;
  HRESULT ExecCommand(std::u16string_view command, bool showUI, bool* done) override;
  HRESULT ExecEditCommand(UINT idm) override;
  HRESULT ShowFind() override;
  bool HasElement(std::u16string_view id) const override;
  HRESULT GetElementHtml(std::u16string_view id, std::u16string* html) const override;
  HRESULT SetElementHtml(std::u16string_view id, std::u16string_view html) override;

 private:
  struct QueuedEvent;
  struct Frame {
    std::u16string url;      // the platform's form
    std::string engineUrl;   // as WebKit loads it
    bool committed = false;
    bool completed = false;
  };

  // ---- WebKit's signals ----
  static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType, gpointer self);
  static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent, gpointer self);
  static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error, gpointer self);
  static gboolean OnTlsErrors(WebKitWebView*, gchar* uri, GTlsCertificate*, GTlsCertificateFlags, gpointer self);
  static gboolean OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*, gpointer self);
  static gboolean OnKey(GtkWidget*, GdkEventKey*, gpointer self);
  static gboolean OnScroll(GtkWidget*, GdkEventScroll*, gpointer self);
  static gboolean OnDragMotion(GtkWidget*, GdkDragContext*, gint, gint, guint time, gpointer self);
  static gboolean OnDragDrop(GtkWidget*, GdkDragContext*, gint, gint, guint time, gpointer self);
  static void OnDragDataReceived(GtkWidget*, GdkDragContext*, gint, gint, GtkSelectionData*, guint, guint, gpointer self);
  static GtkWidget* OnCreate(WebKitWebView*, WebKitNavigationAction*, gpointer self);
  static gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog*, gpointer self);
  static gboolean OnPermissionRequest(WebKitWebView*, WebKitPermissionRequest*, gpointer self);
  static void OnMap(GtkWidget*, gpointer self);
  static gboolean OnPageMessage(WebKitWebView*, WebKitUserMessage* message, gpointer self);
  static void OnDownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer self);
  static void OnWebProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason reason, gpointer self);

  gboolean DecideNavigation(WebKitPolicyDecision* decision);
  gboolean DecideNewWindow(WebKitPolicyDecision* decision);
  gboolean DecideResponse(WebKitPolicyDecision* decision);
  void Committed();
  void Finished();

  // ---- Events for the host ----
  // Delivers the oldest queued event: one for each message posted through events_.
  void DeliverNextEvent();
  void Enqueue(QueuedEvent event);
  void Deliver(QueuedEvent& event);
  void DeliverPolicy(QueuedEvent& event);
  void DeliverNewWindow(QueuedEvent& event);
  void DeliverDocumentComplete(QueuedEvent& event);
  void DeliverNavigateError(QueuedEvent& event);
  void DeliverCertificateError(QueuedEvent& event);
  void DeliverDownload(QueuedEvent& event);
  void DeliverPageLost(QueuedEvent& event);

  // ---- The view's own state ----
  // A new top-level document is on its way: earlier events of the old one are dropped, its
  // host style sheets and frames are forgotten, scripts wait for the new one.
  void StartTopLevelLoad(bool fromMemory);
  void StartReload();
  void EndLoadBeforeCommit();
  void ApplyScriptPermission(const std::u16string& url);
  void RunPageScript(const std::string& script);
  // The script's value from the page's module (see PageMessages.h), a new reference; null
  // without a module, when the script threw or when no answer came in time.
  GVariant* EvaluateAndWait(const std::string& script) const;
  void ShowErrorPage(const std::string& engineUrl, LONG status);
  // The frame a navigation from the page is reported for: WebKit does not say which frame
  // asks, so a command is the top-level document's only when WebKit vouches for its asker.
  core::BrowserFrame AskingFrame(const char* uri, core::BrowserFrame guess) const;
  // Whether every document in the view is local (a file, or the host's page from memory):
  // then whichever of them asks, a local document asks.
  bool OnlyLocalDocuments() const;
  // One line on standard error, after the window's caption.
  void Tell(const std::string& text) const;
  void OpenOutside(const std::u16string& url);
  void AskToOpenOutside(const std::u16string& url);

  HWND window_;
  // The events queued for the host are delivered through it, one posted message each.
  std::unique_ptr<core::EventDeliveryWindow> events_;
  core::BrowserHost& host_;
  WebKitWebContext* context_;
  const std::shared_ptr<const WebKitCommandPrefixes> commands_;
  // Whether the web process has the module that runs the view's scripts.
  const bool pageModule_;
  WebKitWebView* view_;
  GtkWidget* overlay_;
  std::unique_ptr<FindBar> findBar_;
  // False once the view is destroyed: whoever called the host checks it before going on.
  std::shared_ptr<bool> alive_;

  std::deque<QueuedEvent> queue_;
  unsigned generation_ = 0;
  // The next navigation WebKit asks about with this address was approved already (the
  // host's own Navigate, a page from memory, an error page, a retry after a certificate
  // problem).
  std::optional<std::string> approved_;

  WebKitLoadState load_;
  std::string committedUri_;
  std::vector<std::string> waitingScripts_;

  std::map<UINT_PTR, HostStyleSheet> sheets_;
  UINT_PTR nextSheet_ = 1;
  std::map<core::BrowserFrame, Frame> frames_;
  core::BrowserFrame nextFrame_ = 1;
  // A subframe's document that is not a file came in without the view seeing its frame start.
  bool foreignFrame_ = false;
  // When the web process last ended under the page; a second end soon after is the last.
  std::optional<gint64> processLostAt_;

  // Whether the page has a selection, as its script reports each change; WebKit's own
  // answer for Copy is yes whenever the page allows copying, selection or not.
  bool hasSelection_ = false;
  // The key event last offered to the host: WebKit hands a key the page did not use back to
  // GTK, and the same event comes round a second time.
  struct KeySeen {
    GdkEventType type;
    guint32 time;
    guint keyval;
    guint16 keycode;
    bool operator==(const KeySeen&) const = default;
  };
  std::optional<KeySeen> lastKey_;

  bool silent_ = false;
  bool acceptDrops_ = true;
  bool focusedOnce_ = false;
};

}  // namespace gtkui
