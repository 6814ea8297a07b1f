// Window objects: attaching them to windows before their first message, routing messages
// through the tables, default processing, and the modal loop.
#include "afxwin.h"

#include <memory>
#include <unordered_map>
#include <vector>

#include "FrameworkTemporaries.h"
#include "afxocc.h"
#include "afxpriv.h"

namespace {

struct FrameworkThreadState {
  std::unordered_map<HWND, CWnd*> permanent;
  std::unordered_map<HWND, std::unique_ptr<CWnd>> temporaryWindows;
  std::unordered_map<HDC, std::unique_ptr<CDC>> temporaryContexts;
  // The object waiting for the next window this thread creates, and the CBT hook that
  // attaches it while a creation is under way.
  CWnd* pendingCreation = nullptr;
  HHOOK creationHook = nullptr;
  // The message being handled, for Default and GetCurrentMessage.
  MSG currentMessage{};
};

FrameworkThreadState& ThreadState() {
  static thread_local FrameworkThreadState state;
  return state;
}

// Attaches the waiting object to the new window and routes the window through AfxWndProc,
// keeping the class's procedure for the default processing.
LRESULT CALLBACK AttachOnCreation(int code, WPARAM wParam, LPARAM lParam) {
  FrameworkThreadState& state = ThreadState();
  if (code == HCBT_CREATEWND && state.pendingCreation != nullptr) {
    CWnd* object = state.pendingCreation;
    state.pendingCreation = nullptr;
    object->SubclassWindow(reinterpret_cast<HWND>(wParam));
  }
  return ::CallNextHookEx(state.creationHook, code, wParam, lParam);
}

// The hook is in place from the outermost creation until it ends, so that windows the
// framework does not make meet no hook of ours.
class CreationScope {
 public:
  explicit CreationScope(CWnd* object) {
    FrameworkThreadState& state = ThreadState();
    if (state.creationHook == nullptr) {
      state.creationHook = ::SetWindowsHookExW(WH_CBT, AttachOnCreation, nullptr, ::GetCurrentThreadId());
      installed_ = state.creationHook != nullptr;
    }
    previous_ = state.pendingCreation;
    state.pendingCreation = object;
  }
  ~CreationScope() {
    FrameworkThreadState& state = ThreadState();
    state.pendingCreation = previous_;
    if (installed_) {
      ::UnhookWindowsHookEx(state.creationHook);
      state.creationHook = nullptr;
    }
  }
  CreationScope(const CreationScope&) = delete;
  CreationScope& operator=(const CreationScope&) = delete;

 private:
  CWnd* previous_;
  bool installed_ = false;
};

// A window object that stands for a window nobody attached; it never destroys the window.
class CTempWnd : public CWnd {
 public:
  ~CTempWnd() override { m_hWnd = nullptr; }
};

}  // namespace

CWnd* TemporaryWindowObject(HWND window) {
  auto& temporaries = ThreadState().temporaryWindows;
  auto it = temporaries.find(window);
  if (it != temporaries.end()) return it->second.get();
  auto object = std::make_unique<CTempWnd>();
  object->m_hWnd = window;
  return temporaries.emplace(window, std::move(object)).first->second.get();
}

CDC* TemporaryDeviceContextObject(HDC dc) {
  auto& temporaries = ThreadState().temporaryContexts;
  auto it = temporaries.find(dc);
  if (it != temporaries.end()) return it->second.get();
  auto object = std::make_unique<CDC>();
  object->m_hDC = dc;
  return temporaries.emplace(dc, std::move(object)).first->second.get();
}

void ReleaseTemporaryObjects() {
  FrameworkThreadState& state = ThreadState();
  for (auto& [dc, object] : state.temporaryContexts) object->m_hDC = nullptr;
  state.temporaryContexts.clear();
  state.temporaryWindows.clear();
}

// ---- Attaching ----------------------------------------------------------------------------

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {&CCmdTarget::GetThisMessageMap, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

CWnd::CWnd() : m_hWnd(nullptr), m_nFlags(0), m_nModalResult(0), m_pfnSuper(nullptr) {}

CWnd::CWnd(HWND pseudoWindow) : m_hWnd(pseudoWindow), m_nFlags(0), m_nModalResult(0), m_pfnSuper(nullptr) {}

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::~CWnd() {
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
    // The window goes with its object; its last messages no longer reach this object.
    const HWND window = m_hWnd;
    UnsubclassWindow();
    ::DestroyWindow(window);
  }
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
  auto& permanent = ThreadState().permanent;
  auto it = permanent.find(window);
  return it == permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND window) {
  if (window == nullptr) return nullptr;
  if (CWnd* object = FromHandlePermanent(window)) return object;
  return TemporaryWindowObject(window);
}

BOOL CWnd::Attach(HWND window) {
  if (window == nullptr || m_hWnd != nullptr || FromHandlePermanent(window) != nullptr) return FALSE;
  m_hWnd = window;
  ThreadState().permanent[window] = this;
  return TRUE;
}

HWND CWnd::Detach() {
  const HWND window = m_hWnd;
  if (window != nullptr) ThreadState().permanent.erase(window);
  m_hWnd = nullptr;
  return window;
}

BOOL CWnd::SubclassWindow(HWND window) {
  if (!Attach(window)) return FALSE;
  const auto previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  if (previous != AfxWndProc) m_pfnSuper = previous;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  const HWND control = ::GetDlgItem(AfxGetSafeHwnd(parent), static_cast<int>(id));
  return control != nullptr && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
  if (m_hWnd != nullptr && m_pfnSuper != nullptr)
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

// ---- Creation -----------------------------------------------------------------------------

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) { return TRUE; }

void CWnd::PostNcDestroy() {}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext* context) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, AfxGetSafeHwnd(parent), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                  context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, AfxGetSafeHwnd(parent), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                  param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
  CREATESTRUCT cs{param, AfxGetInstanceHandle(), idOrMenu, parent, height, width, y, x, static_cast<LONG>(style),
                  windowName, className, exStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  HWND window;
  {
    CreationScope scope(this);
    window = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx,
                               cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  }
  return window != nullptr && window == m_hWnd;
}

BOOL CWnd::CreateDlgIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent, HINSTANCE instance) {
  if (dialogTemplate == nullptr) return FALSE;
  if (instance == nullptr) instance = AfxGetResourceHandle();
  HWND window;
  {
    CreationScope scope(this);
    window = ::CreateDialogIndirectParamW(instance, dialogTemplate, AfxGetSafeHwnd(parent), AfxDlgProc, 0);
  }
  return window != nullptr && window == m_hWnd;
}

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

// ---- Messages -----------------------------------------------------------------------------

LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* object = CWnd::FromHandlePermanent(window);
  if (object == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  FrameworkThreadState& state = ThreadState();
  const MSG outer = state.currentMessage;
  state.currentMessage = MSG{window, message, wParam, lParam, 0, {0, 0}};
  struct Restore {
    FrameworkThreadState& state;
    MSG outer;
    ~Restore() { state.currentMessage = outer; }
  } restore{state, outer};
  const LRESULT result = object->WindowProc(message, wParam, lParam);
  // Settings reach top-level windows only; their controls learn of them from here.
  if (message == WM_SETTINGCHANGE && ::IsWindow(window) && !(::GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
    object->SendMessageToDescendants(message, wParam, lParam, TRUE, TRUE);
  if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(window) == object) {
    // The main window's end is the application's: it is no longer the main window (a
    // dialog-based application's main window lives on a stack that is gone by then), and a
    // running message loop ends.
    if (CWinThread* thread = AfxGetThread(); thread != nullptr && thread->m_pMainWnd == object) {
      thread->m_pMainWnd = nullptr;
      if (thread->IsRunning()) AfxPostQuitMessage(0);
    }
    // The window's last message: the object lets go of it and may delete itself.
    object->m_pfnSuper = nullptr;
    object->Detach();
    object->PostNcDestroy();
  }
  return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND) {
    if (OnCommand(wParam, lParam)) {
      *result = 1;
      return TRUE;
    }
    return FALSE;
  }
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0);
  if (entry == nullptr) return FALSE;
  *result = entry->pfn(this, wParam, lParam);
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  // Menus and accelerators (no control) are commands; a control's notification code is its own.
  const int code = lParam == 0 ? CN_COMMAND : HIWORD(wParam);
  return OnCmdMsg(id, code, nullptr, nullptr);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& current = ThreadState().currentMessage;
  return DefWindowProc(current.message, current.wParam, current.lParam);
}

const MSG* CWnd::GetCurrentMessage() { return &ThreadState().currentMessage; }

BOOL CWnd::PreTranslateMessage(MSG* msg) { return FALSE; }

BOOL CWnd::IsFrameWnd() const { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
  for (HWND window = msg->hwnd; window != nullptr; window = ::GetParent(window)) {
    if (CWnd* object = FromHandlePermanent(window))
      if (object->PreTranslateMessage(msg)) return TRUE;
    if (window == stop) break;
  }
  return FALSE;
}

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return static_cast<BOOL>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnSettingChange(UINT, LPCWSTR) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnPaint() { Default(); }

// ---- Operations ---------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const { return ::SendMessageW(m_hWnd, message, wParam, lParam); }
void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL onlyPermanent) const {
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!onlyPermanent || FromHandlePermanent(child) != nullptr) ::SendMessageW(child, message, wParam, lParam);
    if (deep && ::IsWindow(child) && ::GetWindow(child, GW_CHILD) != nullptr)
      CWnd::FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, deep, onlyPermanent);
  }
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const { return ::PostMessageW(m_hWnd, message, wParam, lParam); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) {
  const DWORD style = GetStyle();
  const DWORD changed = (style & ~remove) | add;
  if (changed == style) return FALSE;
  ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
  if (swpFlags != 0) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
  return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) {
  const DWORD style = GetExStyle();
  const DWORD changed = (style & ~remove) | add;
  if (changed == style) return FALSE;
  ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(changed));
  if (swpFlags != 0) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
  return TRUE;
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
CWnd* CWnd::GetTopLevelParent() const { return FromHandle(::GetAncestor(m_hWnd, GA_ROOT)); }
CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
BOOL CWnd::IsChild(const CWnd* window) const { return ::IsChild(m_hWnd, AfxGetSafeHwnd(window)); }
void CWnd::SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
int CWnd::GetWindowText(LPWSTR text, int maxCount) const { return ::GetWindowTextW(m_hWnd, text, maxCount); }

void CWnd::GetWindowText(CStringW& text) const {
  const int length = ::GetWindowTextLengthW(m_hWnd);
  ::GetWindowTextW(m_hWnd, text.GetBuffer(length), length + 1);
  text.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }

void CWnd::SetFont(CFont* font, BOOL redraw) {
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font != nullptr ? HFONT(*font) : nullptr), redraw);
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

HICON CWnd::GetIcon(BOOL bigIcon) const { return reinterpret_cast<HICON>(SendMessage(WM_GETICON, bigIcon ? ICON_BIG : ICON_SMALL, 0)); }

void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ClientToScreen(LPRECT rect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rect), 2); }
void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
void CWnd::ScreenToClient(LPRECT rect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2); }

void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const {
  ::MapWindowPoints(m_hWnd, AfxGetSafeHwnd(to), points, count);
}

void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const {
  ::MapWindowPoints(m_hWnd, AfxGetSafeHwnd(to), reinterpret_cast<LPPOINT>(rect), 2);
}

// A contained control is moved through its site: the control places its own window.
void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  if (m_pCtrlSite != nullptr) {
    m_pCtrlSite->MoveWindow(x, y, width, height);
    return;
  }
  ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, AfxGetSafeHwnd(insertAfter), x, y, cx, cy, flags);
}

BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }
BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const { return ::GetWindowPlacement(m_hWnd, placement); }
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement) { return ::SetWindowPlacement(m_hWnd, placement); }
int CWnd::SetWindowRgn(HRGN region, BOOL redraw) { return ::SetWindowRgn(m_hWnd, region, redraw); }
int CWnd::GetWindowRgn(HRGN region) const { return ::GetWindowRgn(m_hWnd, region); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

BOOL CWnd::RedrawWindow(LPCRECT rect, CRgn* region, UINT flags) {
  return ::RedrawWindow(m_hWnd, rect, region != nullptr ? HRGN(*region) : nullptr, flags);
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }

int CWnd::ReleaseDC(CDC* dc) {
  if (dc == nullptr) return 0;
  const HDC handle = dc->m_hDC;
  auto& temporaries = ThreadState().temporaryContexts;
  auto it = temporaries.find(handle);
  if (it != temporaries.end()) {
    it->second->m_hDC = nullptr;
    temporaries.erase(it);
  }
  return ::ReleaseDC(m_hWnd, handle);
}

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
CWnd* CWnd::GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }

// ---- The modal loop -----------------------------------------------------------------------

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int result) {
  m_nModalResult = result;
  if (m_nFlags & WF_CONTINUEMODAL) {
    m_nFlags &= ~WF_CONTINUEMODAL;
    // Wakes the loop if it is waiting for a message.
    PostMessage(WM_NULL);
  }
}

int CWnd::RunModalLoop(DWORD flags) {
  bool idle = true;
  LONG idleCount = 0;
  bool showOnIdle = (flags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  const HWND parent = ::GetParent(m_hWnd);
  const HWND self = m_hWnd;
  m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
  MSG msg;
  for (;;) {
    // Idle: nothing waiting in the queue.
    while (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (showOnIdle) {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        showOnIdle = false;
      }
      if (!(flags & MLF_NOIDLEMSG) && parent != nullptr && idleCount == 0)
        ::SendMessageW(parent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(self));
      ReleaseTemporaryObjects();
      if ((flags & MLF_NOKICKIDLE) || !::IsWindow(self) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
        idle = false;
      if (!ContinueModal()) goto done;
    }
    // Busy: pump until the queue is empty again.
    do {
      if (!::GetMessageW(&msg, nullptr, 0, 0)) {
        AfxPostQuitMessage(static_cast<int>(msg.wParam));
        m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
        return -1;
      }
      if (!WalkPreTranslateTree(self, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      if (!::IsWindow(self) || !ContinueModal()) goto done;
      if (msg.message != WM_MOUSEMOVE && msg.message != WM_NULL) {
        idle = true;
        idleCount = 0;
      }
    } while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  }
done:
  m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
  return m_nModalResult;
}

HWND CWnd::GetSafeOwner_(HWND parent, HWND* topLevel) {
  HWND owner = parent;
  if (owner == nullptr)
    if (CWnd* main = AfxGetMainWnd()) owner = main->m_hWnd;
  // A popup window cannot be owned by a child window.
  while (owner != nullptr && (::GetWindowLongW(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
  if (topLevel != nullptr) {
    *topLevel = nullptr;
    HWND top = owner;
    for (HWND up = owner; up != nullptr; up = ::GetParent(up)) top = up;
    if (top != owner && top != nullptr && ::IsWindowEnabled(top)) *topLevel = top;
  }
  return owner;
}
