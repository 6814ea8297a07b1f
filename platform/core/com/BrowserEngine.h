// The seam between core's browser control and whatever renders pages: an engine makes one
// view per control; the view renders and reports, and asks its host (the control) every
// question the browser asks its container. Only the platform's own types cross the seam; all
// COM lives on core's side (the control, its documents, the events' DISPPARAMS, the questions
// to the site through IDocHostUIHandler, IServiceProvider, IInternetSecurityManager and
// IHttpSecurity).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "oaidl.h"

namespace core {

// A frame of a view: 0 is the top-level document, other values name its subframes.
typedef UINT_PTR BrowserFrame;

// A navigation whose asking frame the view cannot tell. Its browser object has no address
// (get_LocationURL fails), so a host that checks who asks refuses it.
constexpr BrowserFrame kUnknownFrame = ~static_cast<BrowserFrame>(0);

struct BrowserNavigation {
  std::u16string url;
  DWORD flags = 0;               // navOpenInNewWindow ... (exdisp.h)
  std::u16string targetFrame;    // "" for the frame itself; "_blank" for a new window
  std::u16string headers;
  std::string postData;
  BrowserFrame frame = 0;        // the frame that navigates
  bool userInitiated = false;    // a link the user followed, not a call of the host
};

// The event being delivered by DocumentEvent.
struct BrowserEventState {
  bool shiftKey = false;
  bool ctrlKey = false;
  bool altKey = false;
  // What the host set as the event's return value; false cancels the default action.
  std::optional<bool> returnValue;
};

enum class UrlActionAnswer { Allow, Disallow, Default };

// What a view reports to and asks of its host; called on the user-interface thread. The
// host outlives its view.
class BrowserHost {
 public:
  virtual ~BrowserHost() = default;
  // Before anything of the navigation loads; true: cancelled, nothing changes.
  virtual bool BeforeNavigate(const BrowserNavigation& navigation) = 0;
  // The frame's new document is committed (its address is the frame's location from now on).
  virtual void NavigateComplete(BrowserFrame frame, std::u16string_view url) = 0;
  virtual void DocumentComplete(BrowserFrame frame, std::u16string_view url) = 0;
  // true: the host cancelled the error page.
  virtual bool NavigateError(BrowserFrame frame, std::u16string_view url, std::u16string_view targetFrame,
                             LONG status) = 0;
  // An event of the top-level document (dispatch identifiers of mshtmdid.h); the host may set
  // state.returnValue. true: the default action is cancelled (returnValue false).
  virtual bool DocumentEvent(DISPID event, BrowserEventState& state) = 0;
  // A key message before the view handles it; true: the host took it.
  virtual bool TranslateAccelerator(const MSG& message) = 0;
  // true: the host showed or suppressed the menu; the view shows none.
  virtual bool ShowContextMenu(POINT screenPoint) = 0;
  virtual UrlActionAnswer ProcessUrlAction(std::u16string_view url, DWORD action) = 0;
  // A certificate problem (ERROR_INTERNET_SEC_* of wininet.h); true: load the page anyway.
  virtual bool ContinueDespiteSecurityProblem(DWORD problem) = 0;
  // DOCHOSTUIFLAG bits (mshtmhst.h) the view should honour.
  virtual DWORD HostFlags() = 0;
  // A message box the page asks for (a script's alert, confirm ...; type: MB_* bits). true:
  // the host showed it and *result is the button; false: the view shows its own.
  virtual bool ShowMessage(std::u16string_view text, std::u16string_view caption, DWORD type, LRESULT* result) = 0;
  // Help asked for on the page (F1). true: the host showed help; false: the view shows its own.
  virtual bool ShowHelp(POINT screenPoint) = 0;
};

// One view, living in the "Internet Explorer_Server" window of a control.
//
// The view goes when that window is destroyed: at once, or, when this happens during a call
// into the view, once that call has returned. A host callback may destroy the window; the
// view is then destroyed as the callback returns, so a view does nothing more after a
// callback than return to its caller.
//
// Events of one top-level navigation, in this order: BeforeNavigate (at once, inside
// Navigate; cancel ends it), NavigateComplete, document events while the page is up,
// DocumentComplete. Frames report their own BeforeNavigate, NavigateComplete and
// DocumentComplete with their frame id, between the top-level NavigateComplete and
// DocumentComplete. Events that arrive later are delivered on the user-interface thread
// through core's message loop. A newer top-level navigation that goes ahead ends an
// earlier one that has not completed: the earlier one reports nothing more.
class BrowserView {
 public:
  virtual ~BrowserView() = default;
  // "_blank" as the target opens the address outside this view (a new window), without
  // asking BeforeNavigate.
  virtual HRESULT Navigate(const BrowserNavigation& request) = 0;
  virtual HRESULT Reload() = 0;
  virtual void SetSilent(bool silent) = 0;
  virtual void SetDropTarget(bool acceptDrops) = 0;
  // The frame's committed address; "" for a page from memory and before any page.
  virtual std::u16string LocationUrl(BrowserFrame frame) const = 0;
  virtual std::u16string Title(BrowserFrame frame) const = 0;
  virtual bool HasDocument() const = 0;
  // Replaces the top-level document with a page from memory, within the call. It reports
  // only DocumentComplete (frame 0, address ""), later.
  virtual HRESULT LoadHtml(std::string_view bytes) = 0;
  // Style sheets of the top-level document; sheet names one for AddRule.
  virtual HRESULT CreateStyleSheet(std::u16string_view href, LONG index, UINT_PTR* sheet) = 0;
  virtual HRESULT AddRule(UINT_PTR sheet, std::u16string_view selector, std::u16string_view style, LONG index,
                          LONG* newIndex) = 0;
  // Editing commands by name ("Copy", "Cut", "Paste", "SelectAll" ...).
  virtual HRESULT QueryCommandEnabled(std::u16string_view command, bool* enabled) = 0;
  virtual HRESULT ExecCommand(std::u16string_view command, bool showUI, bool* done) = 0;
  // IDM_COPY, IDM_CUT, IDM_PASTE (mshtmcid.h).
  virtual HRESULT ExecEditCommand(UINT idm) = 0;
  virtual HRESULT ShowFind() = 0;
  // Elements of the top-level document by id.
  virtual bool HasElement(std::u16string_view id) const = 0;
  virtual HRESULT GetElementHtml(std::u16string_view id, std::u16string* html) const = 0;
  virtual HRESULT SetElementHtml(std::u16string_view id, std::u16string_view html) = 0;
};

class BrowserEngine {
 public:
  virtual ~BrowserEngine() = default;
  // window: the "Internet Explorer_Server" window the view fills. Null when the view cannot
  // be made.
  virtual std::unique_ptr<BrowserView> CreateView(HWND window, BrowserHost& host) = 0;
  // Targets that start with one of these prefixes (ASCII letters in any case; "close:" ...)
  // are the host's commands, not addresses: only a local document (a file, or the host's
  // page from memory) may ask for one. An engine that can check who asks refuses every other
  // document before BeforeNavigate, and reports kUnknownFrame for a command whose asker it
  // cannot vouch for. Views made before the call follow it as well. An engine whose pages
  // have no origins of their own ignores it.
  virtual void SetCommandPrefixes(const std::vector<std::u16string>& prefixes);
};

// Null: no browser (a browser control cannot be made).
void InstallBrowserEngine(std::shared_ptr<BrowserEngine> engine);
std::shared_ptr<BrowserEngine> CurrentBrowserEngine();

}  // namespace core
