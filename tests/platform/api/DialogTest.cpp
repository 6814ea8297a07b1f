// Dialogs from template bytes: both template forms, dialog units from the template font, the
// refusal of templates that end early, the application's resources, and the template editor.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <windows.h>
#include <afxpriv.h>

#include "support/FixedDesktopFacts.h"
#include "support/TestResources.h"
#include "support/WindowTestSupport.h"

namespace {

// Little-endian template bytes, field by field.
struct Bytes {
  std::vector<BYTE> data;
  Bytes& W(WORD v) {
    data.push_back(static_cast<BYTE>(v));
    data.push_back(static_cast<BYTE>(v >> 8));
    return *this;
  }
  Bytes& D(DWORD v) { return W(static_cast<WORD>(v)).W(static_cast<WORD>(v >> 16)); }
  Bytes& B(BYTE v) {
    data.push_back(v);
    return *this;
  }
  Bytes& T(const char16_t* text) {
    for (; *text; ++text) W(*text);
    return W(0);
  }
  Bytes& Align() {
    while (data.size() % 4) data.push_back(0);
    return *this;
  }
};

// A template in a global block, as the platform's callers hold one.
class GlobalTemplate {
 public:
  explicit GlobalTemplate(const void* bytes, std::size_t size) : block_(GlobalAlloc(GPTR, size)) {
    std::memcpy(GlobalLock(block_), bytes, size);
  }
  explicit GlobalTemplate(const std::vector<BYTE>& bytes) : GlobalTemplate(bytes.data(), bytes.size()) {}
  ~GlobalTemplate() {
    GlobalUnlock(block_);
    GlobalFree(block_);
  }
  LPCDLGTEMPLATEW Get() const { return static_cast<LPCDLGTEMPLATEW>(GlobalLock(block_)); }

 private:
  HGLOBAL block_;
};

// Standard form: caption "S", 8 pt font, a button at (10, 20) of 40 x 14 units, id 100, and
// a static whose title is the number 5 and whose creation data holds two bytes.
std::vector<BYTE> StandardTemplate() {
  Bytes t;
  t.D(WS_POPUP | WS_CAPTION | DS_SETFONT | DS_MODALFRAME).D(0).W(2).W(0).W(0).W(100).W(50);
  t.W(0).W(0).T(u"S").W(8).T(u"MS Shell Dlg");
  t.Align().D(WS_CHILD | WS_VISIBLE | WS_TABSTOP).D(0).W(10).W(20).W(40).W(14).W(100);
  t.W(0xFFFF).W(0x0080).T(u"OK").W(0);
  t.Align().D(WS_CHILD | SS_ICON).D(0).W(0).W(0).W(10).W(10).W(101);
  t.W(0xFFFF).W(0x0082).W(0xFFFF).W(5).W(4).B(0xAB).B(0xCD);
  return t.data;
}

// Extended form of the same button, with a weight and character set.
std::vector<BYTE> ExtendedTemplate() {
  Bytes t;
  t.W(1).W(0xFFFF).D(0).D(0).D(WS_POPUP | WS_CAPTION | DS_SETFONT).W(1).W(0).W(0).W(100).W(50);
  t.W(0).W(0).T(u"X").W(8).W(700).B(1).B(1).T(u"Tahoma");
  t.Align().D(0).D(0).D(WS_CHILD | WS_VISIBLE).W(10).W(20).W(40).W(14).D(0x12345);
  t.W(0xFFFF).W(0x0080).T(u"Go").W(0);
  return t.data;
}

RECT ChildRectInParent(HWND child) {
  RECT r = WindowRectOf(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(Dialogs, BothTemplateFormsBecomeWindowsInDialogUnitsOfTheirFont) {
  // 8 points at 96 dots per inch are 11 pixels; the fixed desktop's characters are then 6 x 13.
  struct Case {
    const char* name;
    std::vector<BYTE> bytes;
    UINT buttonId;
    const char16_t* caption;
  } cases[] = {{"standard", StandardTemplate(), 100, u"S"}, {"extended", ExtendedTemplate(), 0x12345, u"X"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GlobalTemplate t(c.bytes);
    HWND dialog = CreateDialogIndirectParamW(nullptr, t.Get(), nullptr, nullptr, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ClientRectOf(dialog), (RECT{0, 0, 150, 81}));  // 100 * 6 / 4, 50 * 13 / 8 rounded
    WCHAR text[16];
    GetWindowTextW(dialog, text, 16);
    EXPECT_EQ(std::u16string(text), c.caption);
    HWND button = GetDlgItem(dialog, static_cast<int>(c.buttonId));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(ChildRectInParent(button), (RECT{15, 33, 75, 56}));
    GetClassNameW(button, text, 16);
    EXPECT_EQ(std::u16string(text), u"Button");
    EXPECT_NE(SendMessageW(button, WM_GETFONT, 0, 0), 0);
    RECT units{4, 8, 8, 16};
    MapDialogRect(dialog, &units);
    EXPECT_EQ(units, (RECT{6, 13, 12, 26}));
    DestroyWindow(dialog);
  }
}

TEST(Dialogs, DialogUnitsFollowTheScreensResolution) {
  FixedDesktopFacts& desktop = DefaultDesktopFacts();
  desktop.dpi = 144;  // 8 points are 16 pixels: characters 9 x 19
  GlobalTemplate t(ExtendedTemplate());
  HWND dialog = CreateDialogIndirectParamW(nullptr, t.Get(), nullptr, nullptr, 0);
  desktop.dpi = 96;
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ClientRectOf(dialog), (RECT{0, 0, 225, 119}));
  DestroyWindow(dialog);
}

TEST(Dialogs, ControlsGetTheirNumberedTitleAndCreationData) {
  MessageRecorder recorder;
  GlobalTemplate t(StandardTemplate());
  HWND dialog = CreateDialogIndirectParamW(nullptr, t.Get(), nullptr, nullptr, 0);
  ASSERT_NE(dialog, nullptr);
  HWND icon = GetDlgItem(dialog, 101);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(GetWindowTextLengthW(icon), 0);  // a number is no text
  DestroyWindow(dialog);
}

TEST(Dialogs, TemplatesThatEndEarlyAreRefusedWithoutReadingPastThem) {
  ASSERT_TRUE(RegisterTestResources());
  const std::vector<BYTE> main = ResourceBytes(MAKEINTRESOURCEW(131), RT_DIALOG);
  ASSERT_FALSE(main.empty());
  // Every prefix of the main template is too short: each fails as invalid data.
  for (DWORD length = 1; length < main.size(); ++length) {
    SCOPED_TRACE(length);
    GlobalTemplate t(main.data(), length);
    SetLastError(0);
    EXPECT_EQ(CreateDialogIndirectParamW(nullptr, t.Get(), nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    CDialogTemplate editor;
    EXPECT_FALSE(editor.SetTemplate(t.Get(), length));
  }
  // An item count larger than the bytes hold.
  std::vector<BYTE> bytes = main;
  bytes[16] = 2;
  GlobalTemplate twoItems(bytes);
  SetLastError(0);
  EXPECT_EQ(CreateDialogIndirectParamW(nullptr, twoItems.Get(), nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  CDialogTemplate fromPointer(twoItems.Get());
  EXPECT_EQ(fromPointer.m_hTemplate, nullptr);
  // Memory the platform does not know cannot be bounded, so it is not read at all.
  SetLastError(0);
  EXPECT_EQ(CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), nullptr, nullptr, 0),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Dialogs, ThePlatformsModalRunEndsWithTheResultOfEndDialog) {
  // The dialog procedure ends the run on any command with the command's identifier + 100.
  const DLGPROC procedure = [](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
    if (message == WM_INITDIALOG) {
      PostMessageW(dialog, static_cast<UINT>(lParam), 0, 0);
      return TRUE;
    }
    if (message == WM_COMMAND) {
      EndDialog(dialog, LOWORD(wParam) + 100);
      return TRUE;
    }
    return FALSE;
  };
  GlobalTemplate t(StandardTemplate());
  MessageRecorder recorder;
  HWND owner = MessageRecorder::Create(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
  // Closing is pressing Cancel; the owner is disabled during the run only.
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, t.Get(), owner, procedure, WM_CLOSE), IDCANCEL + 100);
  const auto enables = recorder.Of(WM_ENABLE);
  ASSERT_EQ(enables.size(), 2u);
  EXPECT_EQ(enables[0].wParam, static_cast<WPARAM>(FALSE));
  EXPECT_EQ(enables[1].wParam, static_cast<WPARAM>(TRUE));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(FindWindowExW(nullptr, nullptr, u"#32770", u"S"), nullptr);  // destroyed after the run
  DestroyWindow(owner);
}

TEST(Resources, TheApplicationsTemplatesIconAndManifestAreFoundByTypeAndName) {
  ASSERT_TRUE(RegisterTestResources());
  HRSRC main = FindResourceW(nullptr, MAKEINTRESOURCEW(131), RT_DIALOG);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(SizeofResource(nullptr, main), 178u);
  EXPECT_EQ(FindResourceW(GetModuleHandleW(nullptr), u"#131", RT_DIALOG), main);
  HRSRC guide = FindResourceW(nullptr, MAKEINTRESOURCEW(1033), RT_DIALOG);
  ASSERT_NE(guide, nullptr);
  EXPECT_EQ(SizeofResource(nullptr, guide), 64u);
  SetLastError(0);
  EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(132), RT_DIALOG), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(131), RT_BITMAP), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  HRSRC manifest = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, manifest))),
                         SizeofResource(nullptr, manifest));
  EXPECT_NE(text.find("level=\"requireAdministrator\""), std::string::npos);
  EXPECT_NE(text.find("<dpiAware"), std::string::npos);
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(162));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(162)), icon);
  EXPECT_EQ(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(163)), nullptr);
}

TEST(Resources, TheMainTemplateMakesItsWindowAndPlaceholder) {
  RegisterTestResources();
  HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(131), nullptr, nullptr, 0);
  ASSERT_NE(dialog, nullptr);
  // 463 x 263 units of 6 x 13 pixels; the placeholder is one unit taller than the dialog.
  EXPECT_EQ(ClientRectOf(dialog), (RECT{0, 0, 695, 427}));
  HWND placeholder = GetDlgItem(dialog, 1033);
  ASSERT_NE(placeholder, nullptr);
  EXPECT_EQ(ChildRectInParent(placeholder), (RECT{0, 0, 695, 429}));
  WCHAR text[32];
  GetWindowTextW(placeholder, text, 32);
  EXPECT_EQ(std::u16string(text), u"<placeholder>");
  EXPECT_TRUE(IsWindowVisible(placeholder) == FALSE);  // the dialog itself is not shown yet
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, 1033), GWL_STYLE) & WS_VISIBLE);
  // The modal frame is the platform's WS_EX_DLGMODALFRAME.
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  HWND child = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(1033), dialog, nullptr, 0);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetParent(child), dialog);
  EXPECT_EQ(ClientRectOf(child), (RECT{0, 0, 345, 237}));
  EXPECT_FALSE(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE);
  DestroyWindow(dialog);
  EXPECT_FALSE(IsWindow(child));
}

TEST(TemplateEditor, SetFontReplacesTheFaceAndSizeAndKeepsTheRest) {
  RegisterTestResources();
  CDialogTemplate editor;
  ASSERT_TRUE(editor.Load(MAKEINTRESOURCEW(131)));
  ASSERT_EQ(editor.m_dwTemplateSize, 178u);
  ASSERT_TRUE(editor.SetFont(u"Segoe UI", 9));
  CStringW face;
  WORD size = 0;
  ASSERT_TRUE(editor.GetFont(face, size));
  EXPECT_EQ(face, u"Segoe UI");
  EXPECT_EQ(size, 9);
  HGLOBAL block = editor.Detach();
  EXPECT_EQ(editor.m_hTemplate, nullptr);
  const auto* out = static_cast<const BYTE*>(GlobalLock(block));
  const std::vector<BYTE> in = ResourceBytes(MAKEINTRESOURCEW(131), RT_DIALOG);
  ASSERT_EQ(in.size(), 178u);
  // Header to title unchanged; weight 400 and character set 1 kept after the new size.
  EXPECT_EQ(std::memcmp(out, in.data(), 86), 0);
  EXPECT_EQ(out[86] | (out[87] << 8), 9);
  EXPECT_EQ(out[88] | (out[89] << 8), 400);
  EXPECT_EQ(out[91], 1);
  // "Segoe UI" is four units shorter than "MS Shell Dlg": the item moves up 8 bytes intact.
  EXPECT_EQ(GlobalSize(block), 170u);
  EXPECT_EQ(std::memcmp(out + 112, in.data() + 120, 58), 0);
  // The result is a template the platform accepts, at the new font's size.
  HWND dialog = CreateDialogIndirectParamW(nullptr, static_cast<LPCDLGTEMPLATEW>(GlobalLock(block)), nullptr, nullptr, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ClientRectOf(dialog), (RECT{0, 0, 810, 460}));  // 9 pt = 12 px: characters 7 x 14
  DestroyWindow(dialog);
  GlobalUnlock(block);
  GlobalUnlock(block);
  GlobalFree(block);
}

TEST(TemplateEditor, SetFontGivesATemplateWithoutFontItsFontBlock) {
  Bytes t;
  t.D(WS_POPUP).D(0).W(1).W(0).W(0).W(40).W(40).W(0).W(0).T(u"ab");
  t.Align().D(WS_CHILD).D(0).W(1).W(2).W(3).W(4).W(7).W(0xFFFF).W(0x0082).T(u"c").W(0);
  GlobalTemplate source(t.data);
  CDialogTemplate editor(source.Get());
  ASSERT_NE(editor.m_hTemplate, nullptr);
  EXPECT_FALSE(editor.HasFont());
  ASSERT_TRUE(editor.SetFont(u"Segoe UI", 9));
  EXPECT_TRUE(editor.HasFont());
  HGLOBAL block = editor.Detach();
  HWND dialog = CreateDialogIndirectParamW(nullptr, static_cast<LPCDLGTEMPLATEW>(GlobalLock(block)), nullptr, nullptr, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_STYLE) & DS_SETFONT);
  ASSERT_NE(GetDlgItem(dialog, 7), nullptr);
  EXPECT_EQ(ChildRectInParent(GetDlgItem(dialog, 7)), (RECT{2, 4, 7, 11}));  // 1, 2, 3, 4 units at 7 x 14
  DestroyWindow(dialog);
  GlobalUnlock(block);
  GlobalFree(block);
}

}  // namespace
