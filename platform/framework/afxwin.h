// The application and dialog framework: windows as objects with message tables, dialogs with
// their modal run, the application object and its profile. Names and behaviour follow the
// platform's framework; the implementation is core's own.
#pragma once

#include <cstdarg>
#include <cstddef>

#include <windows.h>
#include <unknwn.h>

#define afx_msg

class CCmdTarget;
class CCmdUI;
class CDC;
class CDialog;
class CFrameWnd;
class CWinApp;
class CWinThread;
class CWnd;
class COleControlContainer;
class COleControlSite;
struct CCreateContext;
// Events of contained controls (afxdisp.h).
struct AFX_CMDHANDLERINFO;
struct AFX_EVENT;
struct AFX_EVENTSINKMAP;

// ---- Small value types --------------------------------------------------------------------

class CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(int x0, int y0) : POINT{x0, y0} {}
  CPoint(POINT p) : POINT(p) {}
  // The platform's packed form: x in the low 16 bits, y in the high 16 bits, each signed.
  explicit CPoint(LPARAM packed) : POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))} {}
  bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
};

class CSize : public SIZE {
 public:
  CSize() : SIZE{0, 0} {}
  CSize(int cx0, int cy0) : SIZE{cx0, cy0} {}
  CSize(SIZE s) : SIZE(s) {}
  bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
};

class CRect : public RECT {
 public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT& r) : RECT(r) {}
  CRect(POINT topLeft, SIZE size) : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  BOOL IsRectEmpty() const { return left >= right || top >= bottom; }
  void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }
  bool operator==(const RECT& r) const { return left == r.left && top == r.top && right == r.right && bottom == r.bottom; }
  bool operator!=(const RECT& r) const { return !(*this == r); }
};

// ---- Text ---------------------------------------------------------------------------------

// A UTF-16 string with value semantics; the buffer always ends with a 0 unit.
class CStringW {
 public:
  CStringW();
  CStringW(LPCWSTR text);
  CStringW(LPCWSTR text, int length);
  CStringW(const CStringW& other);
  CStringW(CStringW&& other) noexcept;
  CStringW& operator=(const CStringW& other);
  CStringW& operator=(CStringW&& other) noexcept;
  CStringW& operator=(LPCWSTR text);
  ~CStringW();

  int GetLength() const { return length_; }
  BOOL IsEmpty() const { return length_ == 0; }
  void Empty();
  LPCWSTR GetString() const { return data_; }
  operator LPCWSTR() const { return data_; }
  WCHAR GetAt(int index) const { return data_[index]; }
  WCHAR operator[](int index) const { return data_[index]; }

  CStringW& operator+=(LPCWSTR text);
  CStringW& operator+=(WCHAR unit);
  CStringW& operator+=(const CStringW& text) { return *this += text.GetString(); }
  friend CStringW operator+(const CStringW& a, LPCWSTR b);
  bool operator==(LPCWSTR text) const;
  bool operator!=(LPCWSTR text) const { return !(*this == text); }
  bool operator==(const CStringW& text) const { return *this == text.GetString(); }
  int Compare(LPCWSTR text) const;
  int CompareNoCase(LPCWSTR text) const;

  // printf-style formatting with UTF-16 texts: %d %i %u %x %X %c %s (a UTF-16 text) and %%,
  // with the flags '-' and '0', a width and the size prefix 'l'.
  void Format(LPCWSTR format, ...);
  void FormatV(LPCWSTR format, va_list args);

  // A writable buffer of at least minLength units; ReleaseBuffer fixes the length (-1: up to
  // the first 0).
  LPWSTR GetBuffer(int minLength);
  void ReleaseBuffer(int newLength = -1);

 private:
  void Assign(LPCWSTR text, int length);
  void Reserve(int capacity);

  WCHAR* data_;
  int length_;
  int capacity_;
};
typedef CStringW CString;

// ---- Exceptions ---------------------------------------------------------------------------

// The framework throws its exceptions by pointer (throw new CMemoryException); whoever catches
// one calls Delete.
class CException {
 public:
  explicit CException(BOOL autoDelete = TRUE) : m_bAutoDelete(autoDelete) {}
  virtual ~CException();
  void Delete();
  virtual BOOL GetErrorMessage(LPWSTR error, UINT maxError, UINT* helpContext = nullptr) const;
  BOOL m_bAutoDelete;
};
class CMemoryException : public CException {
 public:
  using CException::CException;
  BOOL GetErrorMessage(LPWSTR error, UINT maxError, UINT* helpContext = nullptr) const override;
};
class CResourceException : public CException {
 public:
  using CException::CException;
  BOOL GetErrorMessage(LPWSTR error, UINT maxError, UINT* helpContext = nullptr) const override;
};
class CUserException : public CException {
 public:
  using CException::CException;
};
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();

// ---- Message tables -----------------------------------------------------------------------

// One entry calls one handler. Entries for WM_COMMAND match a command identifier range and a
// notification code; an entry for a registered message refers to the variable holding its
// number, read when the message arrives.
typedef LRESULT (*AFX_MSG_THUNK)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);
struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;
  UINT nID;
  UINT nLastID;
  const UINT* pRegisteredMessage;
  AFX_MSG_THUNK pfn;
};
// A table and the accessor of its base class's table: lookups walk from the class to its bases.
struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Notification codes of WM_COMMAND routing.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

#define DECLARE_MESSAGE_MAP()                       \
 protected:                                         \
  static const AFX_MSGMAP* GetThisMessageMap();     \
  const AFX_MSGMAP* GetMessageMap() const override; \
                                                    \
 private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                           \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }      \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                      \
    typedef theClass ThisClass;                                                          \
    typedef baseClass TheBaseClass;                                                      \
    static_assert(sizeof(ThisClass) > 0 && sizeof(TheBaseClass) > 0, "complete classes"); \
    static const AFX_MSGMAP_ENTRY messageEntries_[] = {

#define END_MESSAGE_MAP()                                                           \
  {0, 0, 0, 0, nullptr, nullptr}                                                    \
  }                                                                                 \
  ;                                                                                 \
  static const AFX_MSGMAP messageMap_ = {&TheBaseClass::GetThisMessageMap, &messageEntries_[0]}; \
  return &messageMap_;                                                              \
  }

// The handler body runs with self_ as the table's class; wParam and lParam are the message's.
#define AFX_MSG_ENTRY_(message, body)                                                   \
  {(message), 0, 0, 0, nullptr, [](CCmdTarget* target_, WPARAM wParam, LPARAM lParam) -> LRESULT { \
     ThisClass* self_ = static_cast<ThisClass*>(target_);                               \
     (void)self_;                                                                       \
     (void)wParam;                                                                      \
     (void)lParam;                                                                      \
     body                                                                               \
   }},

#define ON_WM_CREATE() AFX_MSG_ENTRY_(WM_CREATE, return self_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));)
#define ON_WM_NCCREATE() AFX_MSG_ENTRY_(WM_NCCREATE, return self_->OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));)
#define ON_WM_DESTROY() AFX_MSG_ENTRY_(WM_DESTROY, self_->OnDestroy(); return 0;)
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY_(WM_NCDESTROY, self_->OnNcDestroy(); return 0;)
#define ON_WM_CLOSE() AFX_MSG_ENTRY_(WM_CLOSE, self_->OnClose(); return 0;)
#define ON_WM_SIZE() \
  AFX_MSG_ENTRY_(WM_SIZE, self_->OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;)
#define ON_WM_MOVE() \
  AFX_MSG_ENTRY_(WM_MOVE, self_->OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))); return 0;)
#define ON_WM_GETMINMAXINFO() \
  AFX_MSG_ENTRY_(WM_GETMINMAXINFO, self_->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return 0;)
#define ON_WM_ERASEBKGND() \
  AFX_MSG_ENTRY_(WM_ERASEBKGND, return self_->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));)
#define ON_WM_SETTINGCHANGE() \
  AFX_MSG_ENTRY_(WM_SETTINGCHANGE, self_->OnSettingChange(static_cast<UINT>(wParam), reinterpret_cast<LPCWSTR>(lParam)); return 0;)
#define ON_WM_NCHITTEST() AFX_MSG_ENTRY_(WM_NCHITTEST, return self_->OnNcHitTest(CPoint(lParam));)
#define ON_WM_GETDLGCODE() AFX_MSG_ENTRY_(WM_GETDLGCODE, return static_cast<LRESULT>(self_->OnGetDlgCode());)
#define ON_WM_SETFOCUS() \
  AFX_MSG_ENTRY_(WM_SETFOCUS, self_->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))); return 0;)
#define ON_WM_SHOWWINDOW() \
  AFX_MSG_ENTRY_(WM_SHOWWINDOW, self_->OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)); return 0;)
#define ON_WM_WINDOWPOSCHANGED() \
  AFX_MSG_ENTRY_(WM_WINDOWPOSCHANGED, self_->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam)); return 0;)
#define ON_WM_PAINT() AFX_MSG_ENTRY_(WM_PAINT, self_->OnPaint(); return 0;)

// memberFxn is a pointer to a member: &CMyDialog::OnMyMessage, LRESULT (WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) AFX_MSG_ENTRY_(message, return (self_->*(memberFxn))(wParam, lParam);)
// nMessageVariable holds the number RegisterWindowMessageW gave; it is read at each message.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                  \
  {0xC000, 0, 0, 0, &(nMessageVariable), [](CCmdTarget* target_, WPARAM wParam, LPARAM lParam) -> LRESULT { \
     return (static_cast<ThisClass*>(target_)->*(memberFxn))(wParam, lParam);                \
   }},
// void (); for BN_CLICKED, menu items and accelerators (notification code 0).
#define ON_COMMAND(id, memberFxn)                                                                    \
  {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), nullptr,                    \
   [](CCmdTarget* target_, WPARAM, LPARAM) -> LRESULT {                                              \
     (static_cast<ThisClass*>(target_)->*(memberFxn))();                                             \
     return 1;                                                                                       \
   }},
// void (UINT id) for every identifier of a range.
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                      \
  {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr,                \
   [](CCmdTarget* target_, WPARAM wParam, LPARAM) -> LRESULT {                                       \
     (static_cast<ThisClass*>(target_)->*(memberFxn))(static_cast<UINT>(wParam));                    \
     return 1;                                                                                       \
   }},
// void (CCmdUI*): asked whether a command is enabled, checked or has a text.
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                          \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id), static_cast<UINT>(id), nullptr,          \
   [](CCmdTarget* target_, WPARAM, LPARAM lParam) -> LRESULT {                                       \
     (static_cast<ThisClass*>(target_)->*(memberFxn))(reinterpret_cast<CCmdUI*>(lParam));            \
     return 1;                                                                                       \
   }},

class CCmdTarget {
 public:
  CCmdTarget() = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;
  virtual ~CCmdTarget();

  // Routes a command (nCode CN_COMMAND) or its update query (CN_UPDATE_COMMAND_UI, pExtra the
  // CCmdUI) to this object's table; TRUE when an entry took it.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);
  // An event of the control idCtrl that this object contains, routed to this object's event
  // sink map (afxdisp.h): a derived class's entries before its bases'. TRUE when a handler
  // took it.
  virtual BOOL OnEvent(UINT idCtrl, AFX_EVENT* pEvent, AFX_CMDHANDLERINFO* pHandlerInfo);

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
  static const AFX_EVENTSINKMAP* GetThisEventSinkMap();
  virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const;
  // The first entry for the message in this class's table or a base's.
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;
};

// ---- Command user interface ---------------------------------------------------------------

// Asks a command's handler whether the command is available, and passes the answer to the
// item that shows it (a menu item, a toolbar button or, here, whoever created the CCmdUI).
class CCmdUI {
 public:
  CCmdUI();
  virtual ~CCmdUI() = default;
  virtual void Enable(BOOL on = TRUE);
  virtual void SetCheck(int check = 1);
  virtual void SetRadio(BOOL on = TRUE);
  virtual void SetText(LPCWSTR text);
  // Asks target; when no handler answered and disableIfNoHandler, the item is disabled.
  BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

  UINT m_nID;
  UINT m_nIndex;
  CWnd* m_pOther;
  BOOL m_bEnableChanged;
  BOOL m_bContinueRouting;
  // What the handler said; the defaults describe an item nobody asked about.
  BOOL m_bEnabled;
  int m_nCheck;
  CStringW m_strText;
};

// ---- Graphics objects ---------------------------------------------------------------------

class CGdiObject {
 public:
  CGdiObject() : m_hObject(nullptr) {}
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  virtual ~CGdiObject();
  BOOL Attach(HGDIOBJ object);
  HGDIOBJ Detach();
  BOOL DeleteObject();
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  operator HGDIOBJ() const { return m_hObject; }
  HGDIOBJ m_hObject;
};

class CRgn : public CGdiObject {
 public:
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }
  static CRgn* FromHandle(HRGN region);
  BOOL CreateRectRgn(int left, int top, int right, int bottom);
  BOOL CreateRectRgnIndirect(LPCRECT rect);
  BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
  void SetRectRgn(int left, int top, int right, int bottom);
  void SetRectRgn(LPCRECT rect);
  int CombineRgn(const CRgn* source1, const CRgn* source2, int mode);
  int CopyRgn(const CRgn* source);
  int OffsetRgn(int dx, int dy);
  int GetRgnBox(LPRECT rect) const;
  BOOL PtInRegion(int x, int y) const;
};

class CBitmap : public CGdiObject {
 public:
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CFont : public CGdiObject {
 public:
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
  BOOL CreateFontIndirect(const LOGFONTW* logFont);
};

class CDC {
 public:
  CDC() : m_hDC(nullptr) {}
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  virtual ~CDC();
  // A temporary object for a context that no CDC owns; it lives until the thread is idle.
  static CDC* FromHandle(HDC dc);
  BOOL Attach(HDC dc);
  HDC Detach();
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();
  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }
  int GetDeviceCaps(int index) const;
  int SelectClipRgn(CRgn* region);
  int SelectClipRgn(CRgn* region, int mode);
  int GetClipBox(LPRECT rect) const;
  CWnd* GetWindow() const;
  HDC m_hDC;
};

// A window's device context for the scope of the object (GetDC / ReleaseDC).
class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* window);
  ~CClientDC() override;

 private:
  HWND window_;
};

// ---- Windows ------------------------------------------------------------------------------

// m_nFlags bits.
#define WF_MODALLOOP 0x0004
#define WF_CONTINUEMODAL 0x0008

// RunModalLoop flags.
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

class CWnd : public CCmdTarget {
 public:
  CWnd();
  // Destroys the window when it is still attached.
  ~CWnd() override;

  // Stand-ins for HWND_TOP, HWND_BOTTOM, HWND_TOPMOST and HWND_NOTOPMOST in SetWindowPos.
  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  HWND m_hWnd;
  // Only on an object; for a pointer that may be null use AfxGetSafeHwnd.
  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The object attached to a window; FromHandle makes a temporary one (kept until the thread
  // is idle) for a window no object owns.
  static CWnd* FromHandle(HWND window);
  static CWnd* FromHandlePermanent(HWND window);
  BOOL Attach(HWND window);
  HWND Detach();
  // Attaches and routes the window's messages through this object's WindowProc.
  BOOL SubclassWindow(HWND window);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  // Creation: PreCreateWindow may change the CREATESTRUCTW; the object is attached before the
  // window's first message, so WM_NCCREATE already reaches its table.
  virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                      UINT id, CCreateContext* context = nullptr);
  virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                        int width, int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                CWnd* parent, UINT id, LPVOID param = nullptr);
  virtual BOOL DestroyWindow();
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  // Called after the window's last message (WM_NCDESTROY), once the object is detached.
  virtual void PostNcDestroy();

  // Messages: WindowProc looks the message up in the tables (OnWndMsg) and passes what no
  // entry takes to DefWindowProc, the window's procedure from before it was attached.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual BOOL IsFrameWnd() const;
  // Default processing of the message being handled now.
  LRESULT Default();
  static const MSG* GetCurrentMessage();
  // Offers msg to PreTranslateMessage of each window object from msg's window up to stop.
  static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // To the children (all descendants when deep), only those with objects when onlyPermanent.
  // A top-level window passes WM_SETTINGCHANGE on to its descendants' objects this way.
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE,
                                BOOL onlyPermanent = FALSE) const;
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
  CWnd* GetParent() const;
  CWnd* GetOwner() const;
  CWnd* GetTopLevelParent() const;
  // The nearest ancestor whose object is a frame window, or null.
  CFrameWnd* GetParentFrame() const;
  CWnd* GetDlgItem(int id) const;
  int GetDlgCtrlID() const;
  BOOL IsChild(const CWnd* window) const;
  void SetWindowText(LPCWSTR text);
  int GetWindowText(LPWSTR text, int maxCount) const;
  void GetWindowText(CStringW& text) const;
  int GetWindowTextLength() const;
  void SetFont(CFont* font, BOOL redraw = TRUE);
  HICON SetIcon(HICON icon, BOOL bigIcon);
  HICON GetIcon(BOOL bigIcon) const;

  void GetWindowRect(LPRECT rect) const;
  void GetClientRect(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
  void MapWindowPoints(CWnd* to, LPRECT rect) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  BOOL IsIconic() const;
  BOOL IsZoomed() const;
  BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);
  int SetWindowRgn(HRGN region, BOOL redraw);
  int GetWindowRgn(HRGN region) const;
  void Invalidate(BOOL erase = TRUE);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT rect = nullptr, CRgn* region = nullptr, UINT flags = RDW_INVALIDATE | RDW_ERASE);
  CDC* GetDC();
  int ReleaseDC(CDC* dc);
  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* SetActiveWindow();
  static CWnd* GetActiveWindow();
  static CWnd* GetDesktopWindow();
  void EndModalLoop(int result);

  // The modal loop: pumps messages until EndModalLoop; shows the window when the queue is
  // first empty (MLF_SHOWONIDLE) and tells the owner with WM_ENTERIDLE unless MLF_NOIDLEMSG.
  virtual int RunModalLoop(DWORD flags = 0);
  virtual BOOL ContinueModal();
  // Creates this object's dialog window from a template in memory (a global block or a
  // resource), with the framework's dialog procedure.
  BOOL CreateDlgIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent, HINSTANCE instance);
  // The window a modal dialog of parent should be owned by: parent's top-level window, else
  // the main window's; *topLevel gets the top-level window that is to be disabled too.
  static HWND GetSafeOwner_(HWND parent, HWND* topLevel);

  // ---- Controls (afxocc.h) ----
  // Makes the control clsid as a child of parent, in a site that parent's CreateControlSite
  // gives, and attaches this object to the control's window. parent's control container is
  // made on first use; it owns the site and destroys it with DestroyControlContainer.
  BOOL CreateControl(REFCLSID clsid, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // The control's IUnknown when this window is a control, else null; no reference is added.
  LPUNKNOWN GetControlUnknown();
  // Asked for the site of each control this window contains: a new site in *site (owned by
  // the container from then on) and TRUE, or FALSE (the default) for the framework's plain
  // COleControlSite.
  virtual BOOL CreateControlSite(COleControlContainer* container, COleControlSite** site, UINT id, REFCLSID clsid);
  BOOL InitControlContainer();
  // Destroys the container with its sites (each releases its control).
  void DestroyControlContainer();

  UINT m_nFlags;
  int m_nModalResult;
  COleControlContainer* m_pCtrlCont = nullptr;  // the controls this window contains
  COleControlSite* m_pCtrlSite = nullptr;       // the site, when this window is a control

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs);
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs);
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnClose();
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnSettingChange(UINT flags, LPCWSTR section);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnSetFocus(CWnd* oldWindow);
  afx_msg void OnShowWindow(BOOL show, UINT status);
  afx_msg void OnWindowPosChanged(WINDOWPOS* position);
  afx_msg void OnPaint();

  static const AFX_MSGMAP* GetThisMessageMap();
  const AFX_MSGMAP* GetMessageMap() const override;

  WNDPROC m_pfnSuper;

 private:
  explicit CWnd(HWND pseudoWindow);
  friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
};

inline HWND AfxGetSafeHwnd(const CWnd* window) { return window != nullptr ? window->m_hWnd : nullptr; }

// The framework's window procedure: hands the message to the attached object's WindowProc.
LRESULT CALLBACK AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The framework's dialog procedure: WM_INITDIALOG becomes the dialog object's OnInitDialog.
INT_PTR CALLBACK AfxDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class CScrollBar : public CWnd {
 public:
  // A "ScrollBar" window; with SBS_SIZEGRIP or SBS_SIZEBOX, a size box.
  virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetScrollPos() const;
  int SetScrollPos(int pos, BOOL redraw = TRUE);
  BOOL GetScrollInfo(LPSCROLLINFO info, UINT mask = SIF_ALL);
  BOOL SetScrollInfo(LPSCROLLINFO info, BOOL redraw = TRUE);

 private:
  // The window's general creation is not the scroll bar's way in; kept visible here only so
  // that the overloads above do not hide it by accident.
  using CWnd::Create;
};

// A frame window: the framework's kind of main window. The system makes none of its own;
// windows inside one find it through GetParentFrame.
class CFrameWnd : public CWnd {
 public:
  BOOL IsFrameWnd() const override { return TRUE; }
};

// ---- Dialogs ------------------------------------------------------------------------------

class CDialog : public CWnd {
 public:
  CDialog();
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  explicit CDialog(LPCWSTR templateName, CWnd* parent = nullptr);
  ~CDialog() override;

  // Modeless creation from the named template of the resource module.
  virtual BOOL Create(LPCWSTR templateName, CWnd* parent = nullptr);
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent = nullptr, void* dialogInit = nullptr);
  virtual BOOL CreateIndirect(HGLOBAL dialogTemplate, CWnd* parent = nullptr);
  BOOL CreateIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent, void* dialogInit, HINSTANCE instance);
  BOOL CreateIndirect(HGLOBAL dialogTemplate, CWnd* parent, HINSTANCE instance);
  BOOL InitModalIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent = nullptr, void* dialogInit = nullptr);
  BOOL InitModalIndirect(HGLOBAL dialogTemplate, CWnd* parent = nullptr);

  // The modal run: the template (m_lpszTemplateName, else m_hDialogTemplate, else
  // m_lpDialogTemplate), the owner from PreModal disabled during the run, the dialog created
  // with m_nModalResult = -1 and WF_CONTINUEMODAL set, RunModalLoop, the window hidden and
  // destroyed, PostModal. -1 without a template; -1 when a CException ends the run.
  virtual INT_PTR DoModal();
  // Ends the modal loop (when there is one) and the platform dialog with result.
  void EndDialog(int result);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  BOOL PreTranslateMessage(MSG* msg) override;

  // The owner of a modal run (GetSafeOwner_ of m_pParentWnd, remembering the top-level window
  // in m_hWndTop); PostModal re-enables m_hWndTop when PreModal's caller disabled it.
  HWND PreModal();
  void PostModal();

  LPCWSTR m_lpszTemplateName;
  HGLOBAL m_hDialogTemplate;
  LPCDLGTEMPLATE m_lpDialogTemplate;
  void* m_lpDialogInit;
  CWnd* m_pParentWnd;
  HWND m_hWndTop;
  UINT m_nIDHelp;

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  // A dialog is made from its template, not by the window's general creation.
  using CWnd::Create;
};

// ---- Threads and the application ----------------------------------------------------------

class CWinThread : public CCmdTarget {
 public:
  CWinThread();
  ~CWinThread() override;
  virtual BOOL InitInstance();
  virtual int ExitInstance();
  // The message loop: pumps until WM_QUIT; the answer is its exit code.
  virtual int Run();
  virtual BOOL PumpMessage();
  virtual BOOL OnIdle(LONG count);
  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual CWnd* GetMainWnd();
  // Whether Run's message loop is going on.
  BOOL IsRunning() const { return running_; }

  CWnd* m_pMainWnd;
  int m_exitCode;

 private:
  BOOL running_ = FALSE;
};

class CWinApp : public CWinThread {
 public:
  // The one application object; a null name takes the executable's name.
  explicit CWinApp(LPCWSTR appName = nullptr);
  ~CWinApp() override;

  virtual BOOL InitApplication();

  // The application's profile, through the profile service: the value's text, or the default
  // (empty for none) when there is no such value.
  CStringW GetProfileStringW(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue = nullptr);
  // Stores the text; a null value removes the entry, a null entry the whole section.
  BOOL WriteProfileStringW(LPCWSTR section, LPCWSTR entry, LPCWSTR value);
  UINT GetProfileIntW(LPCWSTR section, LPCWSTR entry, int defaultValue);
  BOOL WriteProfileIntW(LPCWSTR section, LPCWSTR entry, int value);
  // With UNICODE the SDK's own macros already turn these names into the W forms above.
#ifndef GetProfileString
  CStringW GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue = nullptr) {
    return GetProfileStringW(section, entry, defaultValue);
  }
#endif
#ifndef WriteProfileString
  BOOL WriteProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR value) {
    return WriteProfileStringW(section, entry, value);
  }
#endif

  HICON LoadIcon(UINT id) const;
  HICON LoadIcon(LPCWSTR name) const;

  // Fills in the names left null from the executable's name: m_pszAppName, m_pszExeName,
  // m_pszProfileName ("<exe>.INI"). Runs at start-up and before the first profile access.
  void SetCurrentHandles();

  LPCWSTR m_pszAppName;
  LPCWSTR m_pszExeName;
  LPCWSTR m_pszProfileName;
  LPCWSTR m_pszRegistryKey;
  HINSTANCE m_hInstance;
  LPWSTR m_lpCmdLine;
  int m_nCmdShow;

 private:
  CStringW appName_;
  CStringW exeName_;
  CStringW profileName_;
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE instance);
HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type);
void AfxPostQuitMessage(int exitCode);
// The framework's start: names, InitApplication, InitInstance; Run when InitInstance answers
// TRUE, else ExitInstance. The process's exit code.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);
