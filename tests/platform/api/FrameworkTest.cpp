// The framework classes over the window manager: objects attached before their window's
// first message, message tables chained to their bases, the modal run, and the profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>
#include <afxpriv.h>

#include "support/TestResources.h"
#include "support/WindowTestSupport.h"

namespace {

std::vector<std::string> events;

class CBaseWnd : public CWnd {
 protected:
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs) {
    events.push_back("base NcCreate");
    return CWnd::OnNcCreate(cs);
  }
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    events.push_back("base Create");
    return CWnd::OnCreate(cs);
  }
  afx_msg void OnSize(UINT type, int cx, int cy) {
    events.push_back("base Size " + std::to_string(cx) + "x" + std::to_string(cy));
    CWnd::OnSize(type, cx, cy);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
  ON_WM_NCCREATE()
  ON_WM_CREATE()
  ON_WM_SIZE()
END_MESSAGE_MAP()

UINT customMessage = 0;

class CDerivedWnd : public CBaseWnd {
 public:
  LRESULT OnCustom(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
  LRESULT OnUser(WPARAM, LPARAM) { return 7; }
  void PostNcDestroy() override { events.push_back("PostNcDestroy"); }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    events.push_back("derived Create");
    return CBaseWnd::OnCreate(cs);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
  ON_WM_CREATE()
  ON_REGISTERED_MESSAGE(customMessage, &CDerivedWnd::OnCustom)
  ON_MESSAGE(WM_USER + 5, &CDerivedWnd::OnUser)
END_MESSAGE_MAP()

TEST(Framework, ObjectsSeeTheirWindowsFirstMessageAndTablesChainToTheBase) {
  customMessage = RegisterWindowMessageW(u"FrameworkTest.Custom");
  events.clear();
  CDerivedWnd window;
  ASSERT_TRUE(window.CreateEx(0, PlainWindowClass(), u"title", WS_POPUP, 0, 0, 120, 80, nullptr, nullptr));
  ASSERT_NE(window.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);
  const std::vector<std::string> created{"base NcCreate", "derived Create", "base Create", "base Size 120x80"};
  EXPECT_EQ(events, created);
  // The default processing ran underneath: WM_NCCREATE's took the title.
  WCHAR title[16];
  window.GetWindowText(title, 16);
  EXPECT_EQ(std::u16string(title), u"title");
  EXPECT_EQ(window.SendMessage(customMessage, 21), 42);
  EXPECT_EQ(window.SendMessage(WM_USER + 5), 7);
  EXPECT_EQ(window.SendMessage(WM_USER + 6), 0);  // no entry: the class's own procedure
  events.clear();
  const HWND handle = window.m_hWnd;
  window.DestroyWindow();
  EXPECT_EQ(window.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(handle), nullptr);
  EXPECT_EQ(events, std::vector<std::string>{"PostNcDestroy"});
}

TEST(Framework, PreCreateWindowShapesTheWindow) {
  class CSquare : public CScrollBar {
   public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override {
      cs.cx = cs.cy = 17;
      return TRUE;
    }
  };
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, PlainWindowClass(), nullptr, WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
  CSquare grip;
  ASSERT_TRUE(grip.Create(WS_CHILD | WS_CLIPSIBLINGS | SBS_SIZEGRIP, CRect(0, 0, 5, 5), &parent, 0));
  EXPECT_EQ(ClientRectOf(grip.m_hWnd), (RECT{0, 0, 17, 17}));
  WCHAR name[16];
  GetClassNameW(grip.m_hWnd, name, 16);
  EXPECT_EQ(std::u16string(name), u"ScrollBar");
  EXPECT_EQ(grip.GetParent(), &parent);
}

std::vector<HWND> told;

class CListener : public CWnd {
 protected:
  afx_msg void OnSettingChange(UINT flags, LPCWSTR section) {
    told.push_back(m_hWnd);
    CWnd::OnSettingChange(flags, section);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListener, CWnd)
  ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

TEST(Framework, SettingChangesReachTheObjectsOfATopLevelWindowsDescendants) {
  CListener top;
  CListener inner;
  ASSERT_TRUE(top.CreateEx(0, PlainWindowClass(), nullptr, WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
  HWND plain = CreateWindowExW(0, PlainWindowClass(), nullptr, WS_CHILD, 0, 0, 50, 50, top.m_hWnd, nullptr, nullptr, nullptr);
  ASSERT_TRUE(inner.CreateEx(0, PlainWindowClass(), nullptr, WS_CHILD, 0, 0, 10, 10, plain, nullptr));
  told.clear();
  // What the platform sends each top-level window when the desktop's metrics change.
  top.SendMessage(WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, reinterpret_cast<LPARAM>(u"WindowMetrics"));
  EXPECT_EQ(told, (std::vector<HWND>{top.m_hWnd, inner.m_hWnd}));
}

// A dialog on the main template whose steps are chosen by each test.
class CProbeDialog : public CDialog {
 public:
  enum class Plan { PostCancel, EndWhenIdle, Throw };
  CProbeDialog(Plan plan, CWnd* parent) : CDialog(131u, parent), plan_(plan) {}

  BOOL OnInitDialog() override {
    ownerEnabledDuringRun = m_pParentWnd != nullptr && m_pParentWnd->IsWindowEnabled();
    if (plan_ == Plan::PostCancel) PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    if (plan_ == Plan::Throw) AfxThrowUserException();
    return TRUE;
  }
  LRESULT OnKickIdle(WPARAM, LPARAM count) {
    if (count == 0) {
      visibleWhenIdle = IsWindowVisible();
      EndDialog(42);
    }
    return 0;
  }
  void OnCancel() override {
    cancelled = true;
    CDialog::OnCancel();
  }

  bool ownerEnabledDuringRun = true;
  bool visibleWhenIdle = false;
  bool cancelled = false;

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  Plan plan_;
};

BEGIN_MESSAGE_MAP(CProbeDialog, CDialog)
  ON_MESSAGE(WM_KICKIDLE, &CProbeDialog::OnKickIdle)
END_MESSAGE_MAP()

class FrameworkModal : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestResources();
    ASSERT_TRUE(owner_.CreateEx(0, PlainWindowClass(), nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr));
  }
  CWnd owner_;
};

TEST_F(FrameworkModal, CommandsFromTheQueueEndTheRunThroughTheBaseTable) {
  CProbeDialog dialog(CProbeDialog::Plan::PostCancel, &owner_);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(dialog.cancelled);
  EXPECT_FALSE(dialog.ownerEnabledDuringRun);
  EXPECT_TRUE(owner_.IsWindowEnabled());
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(FrameworkModal, TheDialogIsShownWhenTheLoopFirstIdles) {
  CProbeDialog dialog(CProbeDialog::Plan::EndWhenIdle, &owner_);
  EXPECT_EQ(dialog.DoModal(), 42);
  EXPECT_TRUE(dialog.visibleWhenIdle);
}

TEST_F(FrameworkModal, AFrameworkExceptionEndsTheRunWithMinusOne) {
  CProbeDialog dialog(CProbeDialog::Plan::Throw, &owner_);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_TRUE(owner_.IsWindowEnabled());
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(FrameworkModal, NoTemplateMeansMinusOne) {
  CDialog missing(4242u, &owner_);
  EXPECT_EQ(missing.DoModal(), -1);
  CDialog none;
  EXPECT_EQ(none.DoModal(), -1);
}

TEST_F(FrameworkModal, ModelessDialogsComeFromTheNamedTemplate) {
  CDialog child;
  ASSERT_TRUE(child.Create(1033u, &owner_));
  EXPECT_EQ(child.GetParent(), &owner_);
  EXPECT_FALSE(child.IsWindowVisible());
  EXPECT_EQ(child.m_nIDHelp, 1033u);
  CDialog missing;
  EXPECT_FALSE(missing.Create(4242u, &owner_));
}

// A dialog-based application: its main window runs modally on InitInstance's stack.
class CDialogApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    CProbeDialog dialog(CProbeDialog::Plan::PostCancel, nullptr);
    m_pMainWnd = &dialog;
    result = dialog.DoModal();
    mainWindowAfterRun = m_pMainWnd;
    return FALSE;
  }
  int ExitInstance() override { return 5; }
  INT_PTR result = 0;
  CWnd* mainWindowAfterRun = reinterpret_cast<CWnd*>(1);
};

TEST(Framework, ADialogApplicationEndsWithItsMainWindowAndLeavesNoQuitBehind) {
  RegisterTestResources();
  CDialogApp app;
  EXPECT_EQ(AfxWinMain(nullptr, nullptr, nullptr, SW_SHOWDEFAULT), 5);
  EXPECT_EQ(app.result, IDCANCEL);
  EXPECT_EQ(app.mainWindowAfterRun, nullptr);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST(Framework, ApplicationProfileKeepsTextsBySectionAndEntry) {
  CWinApp app(u"ProfileTest");
  ASSERT_EQ(AfxGetApp(), &app);
  EXPECT_TRUE(app.GetProfileStringW(u"ResizableState", u"MainWindowPlacement").IsEmpty());
  EXPECT_EQ(app.GetProfileStringW(u"ResizableState", u"Missing", u"fallback"), u"fallback");
  ASSERT_TRUE(app.WriteProfileStringW(u"ResizableState", u"MainWindowPlacement", u"100,50,700,450,1,0,-1,-1"));
  EXPECT_EQ(app.GetProfileStringW(u"ResizableState", u"MainWindowPlacement"), u"100,50,700,450,1,0,-1,-1");
  ASSERT_TRUE(app.WriteProfileStringW(u"ResizableState", u"MainWindowPlacement", nullptr));
  EXPECT_TRUE(app.GetProfileStringW(u"ResizableState", u"MainWindowPlacement").IsEmpty());
  const std::u16string profile(app.m_pszProfileName);
  EXPECT_EQ(profile.substr(profile.size() - 4), u".INI");
}

class CCommands : public CWnd {
 public:
  void OnCopy() { ++copies; }
  void OnUpdateCopy(CCmdUI* ui) { ui->Enable(FALSE); }
  void OnPaste() {}
  int copies = 0;

 protected:
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommands, CWnd)
  ON_COMMAND(100, &CCommands::OnCopy)
  ON_UPDATE_COMMAND_UI(100, &CCommands::OnUpdateCopy)
  ON_COMMAND(101, &CCommands::OnPaste)
END_MESSAGE_MAP()

TEST(Framework, CommandsAndTheirUpdateQueriesRouteThroughTheTable) {
  CCommands target;
  ASSERT_TRUE(target.CreateEx(0, PlainWindowClass(), nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(target.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0)), 1);
  EXPECT_EQ(target.copies, 1);
  EXPECT_EQ(target.SendMessage(WM_COMMAND, MAKEWPARAM(100, 5), 1), 0);  // another notification code
  EXPECT_EQ(target.copies, 1);
  struct Case {
    UINT id;
    BOOL handled;
    BOOL enabled;
  } cases[] = {{100, TRUE, FALSE},    // its update handler disables it
               {101, FALSE, TRUE},    // no update handler, but a command handler
               {102, FALSE, FALSE}};  // nobody handles it
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    CCmdUI ui;
    ui.m_nID = c.id;
    EXPECT_EQ(ui.DoUpdate(&target, TRUE), c.handled);
    EXPECT_EQ(ui.m_bEnabled, c.enabled);
  }
}

TEST(Framework, FormatWritesTheSignedDecimalsOfAPlacement) {
  CStringW text;
  text.Format(u"%d,%d,%d,%d,%d,%d,%d,%d", 100, 50, 700, 450, 1, 0, -1, -32000);
  EXPECT_EQ(text, u"100,50,700,450,1,0,-1,-32000");
  text.Format(u"[%5s|%-3d|%03d|%x|%%]", u"ab", 7, -5, 255u);
  EXPECT_EQ(text, u"[   ab|7  |-05|ff|%]");
}

}  // namespace
