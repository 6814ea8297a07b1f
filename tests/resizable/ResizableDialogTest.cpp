// The resizable dialog on core windows: the sizing border and tracking limit from WM_NCCREATE
// and WM_GETMINMAXINFO, the size grip through WM_SIZE, its own answers and metrics, the erase,
// the placement saved on destroy and the modal run.
#include "resizable/ResizableDialog.h"

#include <gtest/gtest.h>

#include <resourcetable.h>

#include "support/TemplateBytes.h"
#include "TestApp.h"
#include "foundation/OSVersionInfo.h"
#include "support/FixedDesktopFacts.h"

namespace {

constexpr UINT kTopLevelTemplate = 9101;
constexpr UINT kChildTemplate = 9102;
constexpr int kLabelId = 1001;

// A fixed-frame dialog with one label, and a child dialog without controls.
TemplateBytes TopLevelTemplate() {
  TemplateBytes t;
  t.Word(1).Word(0xFFFF).Dword(0).Dword(0);
  t.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT).Word(1);
  t.Word(0).Word(0).Word(200).Word(100);
  t.Word(0).Word(0).Text(u"Resizable").Word(8).Word(400).Byte(0).Byte(1).Text(u"MS Shell Dlg");
  t.PadTo4().Dword(0).Dword(0).Dword(WS_CHILD | WS_VISIBLE | SS_LEFT).Word(7).Word(7).Word(50).Word(10).Dword(kLabelId);
  t.Ordinal(0x0082).Text(u"Label").Word(0);
  return t;
}

TemplateBytes ChildTemplate() {
  TemplateBytes t;
  t.Word(1).Word(0xFFFF).Dword(0).Dword(WS_EX_CONTROLPARENT);
  t.Dword(WS_CHILD | DS_CONTROL | DS_SETFONT).Word(0);
  t.Word(0).Word(0).Word(100).Word(50);
  t.Word(0).Word(0).Text(u"").Word(8).Word(400).Byte(0).Byte(1).Text(u"MS Shell Dlg");
  return t;
}

void RegisterTemplates() {
  static const TemplateBytes topLevel = TopLevelTemplate();
  static const TemplateBytes child = ChildTemplate();
  static const RESOURCE_TABLE_ENTRY entries[] = {
      {RT_DIALOG, MAKEINTRESOURCEW(kTopLevelTemplate), 0, topLevel.Bytes().data(), static_cast<DWORD>(topLevel.Size())},
      {RT_DIALOG, MAKEINTRESOURCEW(kChildTemplate), 0, child.Bytes().data(), static_cast<DWORD>(child.Size())},
  };
  static const BOOL registered = RegisterModuleResources(nullptr, entries, 2);
  ASSERT_TRUE(registered);
}

// Exposes what the tests look at.
class TestDialog : public CResizableDialog {
 public:
  explicit TestDialog(UINT id = kTopLevelTemplate, CWnd* parent = nullptr) : CResizableDialog(id, parent) {}
  HWND GripWindow() { return Grip().m_hWnd; }
};

RECT ClientRectOf(HWND w) {
  RECT r{};
  ::GetClientRect(w, &r);
  return r;
}

RECT WindowRectOf(HWND w) {
  RECT r{};
  ::GetWindowRect(w, &r);
  return r;
}

RECT RectInParent(HWND w) {
  RECT r = WindowRectOf(w);
  ::MapWindowPoints(nullptr, ::GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

class ResizableDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTemplates();
    savedFacts_ = DefaultDesktopFacts();
    ASSERT_TRUE(dialog_.Create(kTopLevelTemplate));
    dialog_.ShowWindow(SW_SHOW);  // visibility of the children counts only in a shown window
    grip_ = dialog_.GripWindow();
    ASSERT_NE(grip_, nullptr);
  }
  void TearDown() override {
    if (dialog_.m_hWnd) dialog_.DestroyWindow();
    DefaultDesktopFacts() = savedFacts_;
  }

  void Size(WPARAM kind) {
    const RECT c = ClientRectOf(dialog_.m_hWnd);
    ::SendMessageW(dialog_.m_hWnd, WM_SIZE, kind, MAKELPARAM(c.right, c.bottom));
  }

  FixedDesktopFacts savedFacts_;
  TestDialog dialog_;
  HWND grip_ = nullptr;
};

TEST_F(ResizableDialogTest, SizingBorderKeepsTheTemplatesClientSize) {
  CDialog plain(kTopLevelTemplate);
  ASSERT_TRUE(plain.CDialog::Create(kTopLevelTemplate));
  const DWORD style = dialog_.GetStyle();
  EXPECT_NE(style & WS_THICKFRAME, 0u);
  EXPECT_EQ(style & DS_MODALFRAME, 0u);
  EXPECT_NE(plain.GetStyle() & DS_MODALFRAME, 0u);

  const RECT client = ClientRectOf(dialog_.m_hWnd);
  const RECT plainClient = ClientRectOf(plain.m_hWnd);
  EXPECT_EQ(Width(client), Width(plainClient));
  EXPECT_EQ(Height(client), Height(plainClient));

  // The tracking minimum is the size the window was created with, before the border grew.
  MINMAXINFO info{};
  info.ptMinTrackSize = {1, 1};
  info.ptMaxTrackSize = {3000, 2000};
  ::SendMessageW(dialog_.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  const RECT plainWindow = WindowRectOf(plain.m_hWnd);
  EXPECT_EQ(info.ptMinTrackSize.x, Width(plainWindow));
  EXPECT_EQ(info.ptMinTrackSize.y, Height(plainWindow));
  EXPECT_EQ(info.ptMaxTrackSize.x, 3000);
  EXPECT_EQ(info.ptMaxTrackSize.y, 2000);
  EXPECT_LE(info.ptMinTrackSize.x, Width(WindowRectOf(dialog_.m_hWnd)));
  plain.DestroyWindow();
}

TEST_F(ResizableDialogTest, GripSitsInTheCornerBelowTheControls) {
  WCHAR className[32] = {};
  ::GetClassNameW(grip_, className, 32);
  EXPECT_EQ(std::u16string_view(className), u"ScrollBar");
  const DWORD style = static_cast<DWORD>(::GetWindowLongW(grip_, GWL_STYLE));
  EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | SBS_SIZEGRIP), static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS | SBS_SIZEGRIP));
  EXPECT_TRUE(::IsWindowVisible(grip_));

  const RECT c = ClientRectOf(dialog_.m_hWnd);
  const RECT g = RectInParent(grip_);
  const int cx = core::CurrentDesktopFacts()->ScrollBarWidth();
  const int cy = core::CurrentDesktopFacts()->ScrollBarHeight();
  EXPECT_EQ(g.left, c.right - cx);
  EXPECT_EQ(g.top, c.bottom - cy);
  EXPECT_EQ(Width(g), cx);
  EXPECT_EQ(Height(g), cy);
  // Created before the template's controls, which go below it; every WM_SIZE puts it last.
  EXPECT_NE(::GetDlgItem(dialog_.m_hWnd, kLabelId), nullptr);
  Size(SIZE_RESTORED);
  EXPECT_EQ(::GetWindow(grip_, GW_HWNDNEXT), nullptr);

  // Only the lower right triangle is part of the grip.
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(::GetWindowRgn(grip_, region), ERROR);
  EXPECT_TRUE(::PtInRegion(region, cx - 2, cy - 2));
  EXPECT_FALSE(::PtInRegion(region, 1, 1));
  ::DeleteObject(region);
}

TEST_F(ResizableDialogTest, MaximisingHidesTheGripAndRestoringShowsIt) {
  EXPECT_EQ(dialog_.ShowCount(), 1);
  Size(SIZE_MAXIMIZED);
  Size(SIZE_MAXIMIZED);
  EXPECT_EQ(dialog_.ShowCount(), 0);
  EXPECT_FALSE(::IsWindowVisible(grip_));
  Size(SIZE_MAXSHOW);  // about another window: nothing changes
  Size(SIZE_MAXHIDE);
  EXPECT_FALSE(::IsWindowVisible(grip_));
  Size(SIZE_RESTORED);
  Size(SIZE_RESTORED);
  EXPECT_EQ(dialog_.ShowCount(), 1);
  EXPECT_TRUE(::IsWindowVisible(grip_));
  Size(SIZE_MINIMIZED);
  EXPECT_EQ(dialog_.ShowCount(), 1);
  EXPECT_TRUE(::IsWindowVisible(grip_));
}

TEST_F(ResizableDialogTest, ResizingMovesTheGripAndTheAnchoredControls) {
  HWND label = ::GetDlgItem(dialog_.m_hWnd, kLabelId);
  dialog_.AnchorControl(label, AnchorTopLeft, AnchorBottomRight);
  const RECT before = RectInParent(label);
  const RECT window = WindowRectOf(dialog_.m_hWnd);
  ::SetWindowPos(dialog_.m_hWnd, nullptr, 0, 0, Width(window) + 100, Height(window) + 50,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT after = RectInParent(label);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(Width(after), Width(before) + 100);
  EXPECT_EQ(Height(after), Height(before) + 50);
  const RECT c = ClientRectOf(dialog_.m_hWnd);
  const RECT g = RectInParent(grip_);
  EXPECT_EQ(g.right, c.right);
  EXPECT_EQ(g.bottom, c.bottom);
}

TEST_F(ResizableDialogTest, GripAnswersForItsCorner) {
  EXPECT_EQ(::SendMessageW(grip_, WM_NCHITTEST, 0, 0), HTBOTTOMRIGHT);
  EXPECT_EQ(::SendMessageW(grip_, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  ::SetWindowLongW(grip_, GWL_EXSTYLE, ::GetWindowLongW(grip_, GWL_EXSTYLE) | WS_EX_LAYOUTRTL);
  EXPECT_EQ(::SendMessageW(grip_, WM_NCHITTEST, 0, 0), HTBOTTOMLEFT);
}

TEST_F(ResizableDialogTest, GripFollowsTheScrollBarMetricsAndKeepsItsCorner) {
  const RECT old = RectInParent(grip_);
  DefaultDesktopFacts().scrollBarWidth = 25;
  DefaultDesktopFacts().scrollBarHeight = 21;
  ::SendMessageW(grip_, WM_SETTINGCHANGE, 0, 0);
  const RECT now = RectInParent(grip_);
  EXPECT_EQ(now.right, old.right);
  EXPECT_EQ(now.bottom, old.bottom);
  EXPECT_EQ(Width(now), 25);
  EXPECT_EQ(Height(now), 21);
  // The triangle is cut for the new size.
  HRGN region = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(grip_, region), ERROR);
  RECT box{};
  ::GetRgnBox(region, &box);
  EXPECT_EQ(box.right, 25);
  EXPECT_EQ(box.bottom, 21);
  EXPECT_TRUE(::PtInRegion(region, 23, 19));
  ::DeleteObject(region);
}

TEST_F(ResizableDialogTest, EraseSparesTheAnchoredControls) {
  HWND label = ::GetDlgItem(dialog_.m_hWnd, kLabelId);
  dialog_.AnchorControl(label, AnchorTopLeft, AnchorTopLeft);
  const RECT l = RectInParent(label);
  HDC dc = ::GetDC(dialog_.m_hWnd);
  ::SendMessageW(dialog_.m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(::GetClipRgn(dc, clip), 1);
  EXPECT_FALSE(::PtInRegion(clip, l.left + 1, l.top + 1));
  EXPECT_TRUE(::PtInRegion(clip, l.right + 5, l.bottom + 5));
  ::DeleteObject(clip);
  ::ReleaseDC(dialog_.m_hWnd, dc);
}

TEST_F(ResizableDialogTest, ChildDialogKeepsItsFrameAndHidesItsGrip) {
  TestDialog child(kChildTemplate, &dialog_);
  ASSERT_TRUE(child.Create(kChildTemplate, &dialog_));
  EXPECT_EQ(child.GetStyle() & WS_THICKFRAME, 0u);
  EXPECT_EQ(child.ShowCount(), 0);
  ASSERT_NE(child.GripWindow(), nullptr);
  EXPECT_FALSE(::IsWindowVisible(child.GripWindow()));
  MINMAXINFO info{};
  info.ptMinTrackSize = {7, 9};
  ::SendMessageW(child.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 7);
  EXPECT_EQ(info.ptMinTrackSize.y, 9);
  child.DestroyWindow();
}

// From version 6.0 on the dialog is made with the message font; before it, with the template's.
TEST_F(ResizableDialogTest, FontFollowsTheSystemVersion) {
  const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(dialog_.m_hWnd, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW logFont{};
  ASSERT_NE(::GetObjectW(font, sizeof logFont, &logFont), 0);
  const std::u16string_view expected =
      IsOSVersionAtLeast(6, 0, 0) ? core::CurrentDesktopFacts()->MessageFont().lfFaceName : u"MS Shell Dlg";
  EXPECT_EQ(std::u16string_view(logFont.lfFaceName), expected);
}

TEST_F(ResizableDialogTest, SavesItsPlacementOnDestroyOnlyWhenAsked) {
  CWinApp& app = TestApp();
  app.WriteProfileStringW(u"ResizableState", u"DlgWindowPlacement", nullptr);
  dialog_.MoveWindow(100, 50, 600, 400);
  dialog_.DestroyWindow();
  EXPECT_EQ(std::u16string(app.GetProfileStringW(u"ResizableState", u"DlgWindowPlacement").GetString()), u"");

  TestDialog saving;
  saving.EnableSaveOnDestroy(u"Dlg");
  ASSERT_TRUE(saving.Create(kTopLevelTemplate));
  saving.MoveWindow(100, 50, 600, 400);
  saving.DestroyWindow();
  EXPECT_EQ(std::u16string(app.GetProfileStringW(u"ResizableState", u"DlgWindowPlacement").GetString()),
            u"100,50,700,450,1,0,-1,-1");
}

// A dialog that ends its modal run from its initialisation.
class EndingDialog : public CResizableDialog {
 public:
  enum class Ending { Directly, ThroughTheLoop, ByFrameworkException };
  EndingDialog(UINT id, CWnd* parent, Ending ending) : CResizableDialog(id, parent), ending_(ending) {}
  BOOL OnInitDialog() override {
    CResizableDialog::OnInitDialog();
    sawThickFrame = (GetStyle() & WS_THICKFRAME) != 0;
    ownerDisabled = m_pParentWnd && !m_pParentWnd->IsWindowEnabled();
    switch (ending_) {
      case Ending::Directly:
        EndDialog(43);
        break;
      case Ending::ThroughTheLoop:
        PostMessage(WM_COMMAND, IDCANCEL, 0);
        break;
      case Ending::ByFrameworkException:
        AfxThrowUserException();
    }
    return TRUE;
  }
  bool sawThickFrame = false;
  bool ownerDisabled = false;

 private:
  Ending ending_;
};

TEST(ResizableDialogModal, RunsFromTheRewrittenTemplateAndFreesItsOwner) {
  RegisterTemplates();
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, u"Static", u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
  EndingDialog direct(kTopLevelTemplate, &owner, EndingDialog::Ending::Directly);
  EXPECT_EQ(direct.DoModal(), 43);
  EXPECT_TRUE(direct.sawThickFrame);
  EXPECT_TRUE(direct.ownerDisabled);
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_EQ(direct.m_hWnd, nullptr);

  EndingDialog looped(kTopLevelTemplate, &owner, EndingDialog::Ending::ThroughTheLoop);
  EXPECT_EQ(looped.DoModal(), IDCANCEL);
  EXPECT_TRUE(owner.IsWindowEnabled());

  // The framework's own exceptions end the run with -1; the owner is enabled again.
  EndingDialog failing(kTopLevelTemplate, &owner, EndingDialog::Ending::ByFrameworkException);
  EXPECT_EQ(failing.DoModal(), -1);
  EXPECT_TRUE(failing.ownerDisabled);
  EXPECT_TRUE(owner.IsWindowEnabled());
  EXPECT_EQ(failing.m_hWnd, nullptr);
  owner.DestroyWindow();
}

TEST(ResizableDialogModal, NoTemplateGivesMinusOne) {
  CResizableDialog missing(4242);
  EXPECT_EQ(missing.DoModal(), -1);
  TestDialog modeless(4242);
  EXPECT_FALSE(modeless.Create(4242));
}

}  // namespace
