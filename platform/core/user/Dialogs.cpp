// Dialogs made from templates in memory, the dialog class's default processing, and the
// platform's own modal run. Coordinates in templates are dialog units: a quarter of the
// dialog font's average character width and an eighth of its height.
#include "DialogTemplateReader.h"

#include <memory>
#include <string>

#include "core/user/DesktopFacts.h"
#include "core/user/DialogNavigation.h"
#include "core/gdi/GdiObjects.h"
#include "core/kernel/KnownMemory.h"
#include "core/user/WindowManager.h"
#include "errhandlingapi.h"
#include "libloaderapi.h"
#include "winerror.h"

struct DialogState {
  LONG baseX = 8;
  LONG baseY = 16;
  HFONT font = nullptr;
  bool ownsFont = false;
  bool ended = false;
  INT_PTR result = 0;
};

namespace {

// Base units of the system font, for templates without DS_SETFONT.
constexpr LONG kSystemBaseX = 8;
constexpr LONG kSystemBaseY = 16;

DialogState* StateOf(HWND dialog) {
  Window* window = FindWindowObject(dialog);
  return window != nullptr ? window->dialog.get() : nullptr;
}

DLGPROC DialogProcedureOf(HWND dialog) {
  Window* window = FindWindowObject(dialog);
  if (window == nullptr || window->extra.size() < DWLP_DLGPROC + sizeof(DLGPROC)) return nullptr;
  return reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC));
}

LOGFONTW TemplateFont(const DialogDescription& d) {
  if (d.pointSize == 0x7FFF) return core::CurrentDesktopFacts()->MessageFont();
  LOGFONTW font{};
  font.lfHeight = -MulDiv(d.pointSize, core::CurrentDesktopFacts()->Dpi(), 72);
  font.lfWeight = d.extended ? d.weight : FW_NORMAL;
  font.lfItalic = d.extended ? d.italic : 0;
  font.lfCharSet = d.extended ? d.charSet : DEFAULT_CHARSET;
  const std::size_t n = std::min<std::size_t>(d.faceName.size(), LF_FACESIZE - 1);
  d.faceName.copy(font.lfFaceName, n);
  font.lfFaceName[n] = 0;
  return font;
}

const char16_t* ClassNameOfOrdinal(WORD ordinal) {
  switch (ordinal) {
    case 0x0080: return u"Button";
    case 0x0081: return u"Edit";
    case 0x0082: return u"Static";
    case 0x0083: return u"ListBox";
    case 0x0084: return u"ScrollBar";
    case 0x0085: return u"ComboBox";
    default: return nullptr;
  }
}

// Keeps a top-level dialog on the work area, as the dialog manager does.
void KeepOnWorkArea(RECT& r) {
  const RECT work = core::CurrentDesktopFacts()->WorkArea();
  if (r.right > work.right) OffsetRect(&r, work.right - r.right, 0);
  if (r.bottom > work.bottom) OffsetRect(&r, 0, work.bottom - r.bottom);
  if (r.left < work.left) OffsetRect(&r, work.left - r.left, 0);
  if (r.top < work.top) OffsetRect(&r, 0, work.top - r.top);
}

RECT DialogRect(const DialogDescription& d, DWORD style, DWORD exStyle, const DialogState& units, HWND owner) {
  RECT r{0, 0, MulDiv(d.cx, units.baseX, 4), MulDiv(d.cy, units.baseY, 8)};
  AdjustWindowRectEx(&r, style, d.menu.kind != NameOrNumber::Kind::None, exStyle);
  OffsetRect(&r, -r.left, -r.top);
  const int x = MulDiv(d.x, units.baseX, 4);
  const int y = MulDiv(d.y, units.baseY, 8);
  if (style & WS_CHILD) {
    OffsetRect(&r, x, y);
    return r;
  }
  if (style & (DS_CENTER | DS_CENTERMOUSE)) {
    RECT area = core::CurrentDesktopFacts()->WorkArea();
    if (owner != nullptr) GetWindowRect(owner, &area);
    OffsetRect(&r, area.left + ((area.right - area.left) - (r.right - r.left)) / 2,
               area.top + ((area.bottom - area.top) - (r.bottom - r.top)) / 2);
  } else {
    POINT origin{x, y};
    if (owner != nullptr && !(style & DS_ABSALIGN)) ClientToScreen(owner, &origin);
    OffsetRect(&r, origin.x, origin.y);
  }
  KeepOnWorkArea(r);
  return r;
}

HWND FirstTabStop(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) return child;
  }
  return nullptr;
}

bool CreateItems(HWND dialog, const DialogDescription& d, const DialogState& units, HINSTANCE instance) {
  for (const DialogItemDescription& item : d.items) {
    std::u16string className;
    if (item.windowClass.kind == NameOrNumber::Kind::Number) {
      const char16_t* name = ClassNameOfOrdinal(item.windowClass.number);
      if (name == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return false;
      }
      className = name;
    } else {
      className = item.windowClass.text;
    }
    // A numbered title reaches the control as its 0xFFFF, n words.
    const std::u16string title = item.title.kind == NameOrNumber::Kind::Number ? item.title.raw + u'\0'
                                 : item.title.kind == NameOrNumber::Kind::Text ? item.title.text
                                                                              : std::u16string();
    HWND control = CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, className.c_str(), title.c_str(),
                                   item.style | WS_CHILD, MulDiv(item.x, units.baseX, 4), MulDiv(item.y, units.baseY, 8),
                                   MulDiv(item.cx, units.baseX, 4), MulDiv(item.cy, units.baseY, 8), dialog,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), instance,
                                   const_cast<BYTE*>(item.creationData));
    if (!IsWindow(dialog)) return false;
    if (control == nullptr) {
      if (d.style & DS_NOFAILCREATE) continue;
      return false;
    }
    if (units.font != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(units.font), FALSE);
  }
  return true;
}

}  // namespace

HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam) {
  const std::size_t available = KnownBytesFrom(dialogTemplate);
  if (available == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const DialogTemplateReadResult read = ReadDialogTemplate(dialogTemplate, available);
  if (!read.ok) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  const DialogDescription& d = read.dialog;
  DWORD style = d.style;
  DWORD exStyle = d.exStyle;
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
  if (style & DS_CONTROL) {
    style &= ~(WS_CAPTION | WS_SYSMENU);
    exStyle |= WS_EX_CONTROLPARENT;
  }
  auto state = std::make_shared<DialogState>();
  if (d.hasFont) {
    const LOGFONTW logFont = TemplateFont(d);
    const core::FontMetrics metrics = core::CurrentDesktopFacts()->MeasureFont(logFont);
    state->baseX = metrics.averageCharWidth;
    state->baseY = metrics.height;
    state->font = CreateFontIndirectW(&logFont);
    state->ownsFont = true;
  } else {
    // One reading, so that both units come from the same desktop.
    const int dpi = core::CurrentDesktopFacts()->Dpi();
    state->baseX = MulDiv(kSystemBaseX, dpi, 96);
    state->baseY = MulDiv(kSystemBaseY, dpi, 96);
  }
  const HWND owner = (style & WS_CHILD) ? nullptr : parent;
  const RECT r = DialogRect(d, style, exStyle, *state, owner);
  const std::u16string className = d.windowClass.kind == NameOrNumber::Kind::Text ? d.windowClass.text : u"#32770";
  const std::u16string title = d.title.kind == NameOrNumber::Kind::Text ? d.title.text : std::u16string();
  HWND dialog = CreateWindowExW(exStyle, className.c_str(), title.c_str(), style & ~WS_VISIBLE, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, parent, nullptr, instance,
                                reinterpret_cast<LPVOID>(initParam));
  if (dialog == nullptr) {
    if (state->ownsFont) DeleteObject(state->font);
    return nullptr;
  }
  FindWindowObject(dialog)->dialog = state;
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(dialogProc));
  if (state->font != nullptr) SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
  if (!IsWindow(dialog) || !CreateItems(dialog, d, *state, instance)) {
    if (IsWindow(dialog)) DestroyWindow(dialog);
    return nullptr;
  }
  const HWND focus = FirstTabStop(dialog);
  if (SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), initParam) && focus != nullptr &&
      IsWindow(focus))
    SetFocus(focus);
  if (!IsWindow(dialog)) return nullptr;
  if ((d.style & WS_VISIBLE) && !StateOf(dialog)->ended) ShowWindow(dialog, SW_SHOWNORMAL);
  return IsWindow(dialog) ? dialog : nullptr;
}

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc, LPARAM initParam) {
  HRSRC resource = FindResourceW(instance, templateName, RT_DIALOG);
  if (resource == nullptr) return nullptr;
  const auto* dialogTemplate = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(instance, resource)));
  return CreateDialogIndirectParamW(instance, dialogTemplate, parent, dialogProc, initParam);
}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (DLGPROC procedure = DialogProcedureOf(dialog)) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
    const INT_PTR answer = procedure(dialog, message, wParam, lParam);
    if (!IsWindow(dialog) && message != WM_NCDESTROY) return answer;
    if (answer != 0) {
      switch (message) {
        case WM_INITDIALOG:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
          return answer;
        default:
          if (message == WM_NCDESTROY) break;
          return GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
      }
    }
  }
  DialogState* state = StateOf(dialog);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      if (state != nullptr) state->font = reinterpret_cast<HFONT>(wParam);
      return DefWindowProcW(dialog, message, wParam, lParam);
    case WM_CLOSE:
      // Closing a dialog is pressing its Cancel button.
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return 0;
    case WM_INITDIALOG:
      return 0;
    case WM_NEXTDLGCTL:
      return MoveDialogFocus(dialog, wParam, lParam);
    case WM_NCDESTROY:
      if (state != nullptr && state->ownsFont && state->font != nullptr) {
        DeleteObject(state->font);
        state->font = nullptr;
        state->ownsFont = false;
      }
      return DefWindowProcW(dialog, message, wParam, lParam);
    default:
      return DefWindowProcW(dialog, message, wParam, lParam);
  }
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  DialogState* state = StateOf(dialog);
  if (state == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  state->ended = true;
  state->result = result;
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Wakes a modal loop that waits for a message.
  PostMessageW(dialog, WM_NULL, 0, 0);
  return TRUE;
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
  if (msg == nullptr || dialog == nullptr || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))) return FALSE;
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN)) {
    const int id = msg->wParam == VK_ESCAPE ? IDCANCEL : IDOK;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return TRUE;
  }
  DispatchMessageW(msg);
  return TRUE;
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam) {
  const HWND owner = parent != nullptr ? GetAncestor(parent, GA_ROOT) : nullptr;
  HWND dialog = CreateDialogIndirectParamW(instance, dialogTemplate, owner, dialogProc, initParam);
  if (dialog == nullptr) return -1;
  const bool disabledOwner = owner != nullptr && IsWindowEnabled(owner);
  if (disabledOwner) EnableWindow(owner, FALSE);
  if (!StateOf(dialog)->ended) ShowWindow(dialog, SW_SHOWNORMAL);
  MSG msg;
  while (IsWindow(dialog) && !StateOf(dialog)->ended) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!IsDialogMessageW(dialog, &msg)) DispatchMessageW(&msg);
  }
  if (disabledOwner) EnableWindow(owner, TRUE);
  const INT_PTR result = IsWindow(dialog) ? StateOf(dialog)->result : -1;
  if (IsWindow(dialog)) DestroyWindow(dialog);
  return result;
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc, LPARAM initParam) {
  HRSRC resource = FindResourceW(instance, templateName, RT_DIALOG);
  if (resource == nullptr) return -1;
  const auto* dialogTemplate = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(instance, resource)));
  return DialogBoxIndirectParamW(instance, dialogTemplate, parent, dialogProc, initParam);
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  DialogState* state = StateOf(dialog);
  if (state == nullptr || rect == nullptr) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  rect->left = MulDiv(rect->left, state->baseX, 4);
  rect->right = MulDiv(rect->right, state->baseX, 4);
  rect->top = MulDiv(rect->top, state->baseY, 8);
  rect->bottom = MulDiv(rect->bottom, state->baseY, 8);
  return TRUE;
}

LONG GetDialogBaseUnits() {
  const int dpi = core::CurrentDesktopFacts()->Dpi();
  return MAKELONG(MulDiv(kSystemBaseX, dpi, 96), MulDiv(kSystemBaseY, dpi, 96));
}
