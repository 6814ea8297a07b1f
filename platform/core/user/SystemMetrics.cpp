// System metrics and parameters from the desktop facts. Sizes of the frame parts are the
// platform's values at 96 dots per inch, scaled to the desktop's resolution.
#include "core/user/DesktopFacts.h"
#include "core/user/WindowFrame.h"

#include <cstring>

#include "errhandlingapi.h"
#include "winerror.h"

namespace {

int Scaled(int pixelsAt96) { return MulDiv(pixelsAt96, core::CurrentDesktopFacts()->Dpi(), 96); }

int BorderWidth(DWORD style, DWORD exStyle) {
  int border = 0;
  if (style & WS_THICKFRAME)
    border = GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
  else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & WS_DLGFRAME))
    border = GetSystemMetrics(SM_CXDLGFRAME);
  else if (style & WS_BORDER)
    border = GetSystemMetrics(SM_CXBORDER);
  if (exStyle & WS_EX_CLIENTEDGE) border += GetSystemMetrics(SM_CXEDGE);
  if (exStyle & WS_EX_STATICEDGE) border += GetSystemMetrics(SM_CXBORDER);
  return border;
}

}  // namespace

FrameInsets WindowFrameInsets(DWORD style, DWORD exStyle, bool hasMenu) {
  const int border = BorderWidth(style, exStyle);
  FrameInsets insets{border, border, border, border};
  if ((style & WS_CAPTION) == WS_CAPTION)
    insets.top += GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  if (hasMenu && !(style & WS_CHILD)) insets.top += GetSystemMetrics(SM_CYMENU);
  return insets;
}

FrameInsets NonClientInsets(DWORD style, DWORD exStyle, bool hasMenu) {
  FrameInsets insets = WindowFrameInsets(style, exStyle, hasMenu);
  if (style & WS_VSCROLL) {
    if (exStyle & WS_EX_LEFTSCROLLBAR)
      insets.left += GetSystemMetrics(SM_CXVSCROLL);
    else
      insets.right += GetSystemMetrics(SM_CXVSCROLL);
  }
  if (style & WS_HSCROLL) insets.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return insets;
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (rect == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const FrameInsets insets = WindowFrameInsets(style, exStyle, menu != FALSE);
  rect->left -= insets.left;
  rect->top -= insets.top;
  rect->right += insets.right;
  rect->bottom += insets.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

int GetSystemMetrics(int index) {
  const std::shared_ptr<const core::DesktopFacts> held = core::CurrentDesktopFacts();
  const core::DesktopFacts& facts = *held;
  const SIZE screen = facts.ScreenSize();
  const RECT work = facts.WorkArea();
  const int frame = Scaled(4) + Scaled(4);
  switch (index) {
    case SM_CXSCREEN: return screen.cx;
    case SM_CYSCREEN: return screen.cy;
    case SM_CXVSCROLL: return facts.ScrollBarWidth();
    case SM_CYHSCROLL: return facts.ScrollBarHeight();
    case SM_CYVSCROLL: return facts.ScrollBarWidth();
    case SM_CXHSCROLL: return facts.ScrollBarHeight();
    case SM_CYVTHUMB: return facts.ScrollBarWidth();
    case SM_CXHTHUMB: return facts.ScrollBarHeight();
    case SM_CYCAPTION: return Scaled(23);
    case SM_CYSMCAPTION: return Scaled(17);
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return Scaled(3);
    case SM_CXFRAME:
    case SM_CYFRAME: return Scaled(4);
    case SM_CXPADDEDBORDER: return Scaled(4);
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CYMENU: return Scaled(20);
    case SM_CXICON:
    case SM_CYICON: return Scaled(32);
    case SM_CXSMICON:
    case SM_CYSMICON: return Scaled(16);
    case SM_CXCURSOR:
    case SM_CYCURSOR: return Scaled(32);
    case SM_CXSIZE:
    case SM_CYSIZE: return Scaled(36);
    case SM_CXMIN: return Scaled(136);
    case SM_CYMIN: return Scaled(39);
    case SM_CXMINTRACK: return Scaled(136);
    case SM_CYMINTRACK: return Scaled(39);
    case SM_CXMAXTRACK: return screen.cx + 2 * frame + 12;
    case SM_CYMAXTRACK: return screen.cy + 2 * frame + 12;
    case SM_CXMAXIMIZED: return (work.right - work.left) + 2 * frame;
    case SM_CYMAXIMIZED: return (work.bottom - work.top) + 2 * frame;
    case SM_CXFULLSCREEN: return work.right - work.left;
    case SM_CYFULLSCREEN: return work.bottom - work.top - Scaled(23);
    default: return 0;
  }
}

namespace {

void FillNonClientMetrics(NONCLIENTMETRICSW* metrics, UINT size) {
  const std::shared_ptr<const core::DesktopFacts> held = core::CurrentDesktopFacts();
  const core::DesktopFacts& facts = *held;
  NONCLIENTMETRICSW filled{};
  filled.cbSize = size;
  filled.iBorderWidth = 1;
  filled.iScrollWidth = facts.ScrollBarWidth();
  filled.iScrollHeight = facts.ScrollBarHeight();
  filled.iCaptionWidth = GetSystemMetrics(SM_CYCAPTION) - 1;
  filled.iCaptionHeight = GetSystemMetrics(SM_CYCAPTION) - 1;
  filled.iSmCaptionWidth = GetSystemMetrics(SM_CYSMCAPTION) - 1;
  filled.iSmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION) - 1;
  filled.iMenuWidth = GetSystemMetrics(SM_CYMENU) - 1;
  filled.iMenuHeight = GetSystemMetrics(SM_CYMENU) - 1;
  const LOGFONTW font = facts.MessageFont();
  filled.lfCaptionFont = font;
  filled.lfSmCaptionFont = font;
  filled.lfMenuFont = font;
  filled.lfStatusFont = font;
  filled.lfMessageFont = font;
  filled.iPaddedBorderWidth = GetSystemMetrics(SM_CXPADDEDBORDER);
  // The 500-byte form of older callers has no padded border field.
  std::memcpy(metrics, &filled, size);
}

}  // namespace

BOOL SystemParametersInfoW(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni) {
  switch (action) {
    case SPI_GETNONCLIENTMETRICS: {
      auto* metrics = static_cast<NONCLIENTMETRICSW*>(pvParam);
      constexpr UINT kOldSize = sizeof(NONCLIENTMETRICSW) - sizeof(int);
      if (metrics == nullptr || (metrics->cbSize != sizeof(NONCLIENTMETRICSW) && metrics->cbSize != kOldSize) ||
          uiParam != metrics->cbSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      FillNonClientMetrics(metrics, metrics->cbSize);
      return TRUE;
    }
    case SPI_GETWORKAREA: {
      if (pvParam == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
      }
      *static_cast<RECT*>(pvParam) = core::CurrentDesktopFacts()->WorkArea();
      return TRUE;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}
