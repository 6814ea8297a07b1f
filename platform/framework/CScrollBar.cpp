#include "afxwin.h"
#include "WideText.h"

BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WIDE("ScrollBar"), nullptr, style, rect, parent, id);
}

int CScrollBar::GetScrollPos() const {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  return ::GetScrollInfo(m_hWnd, SB_CTL, &info) ? info.nPos : 0;
}

int CScrollBar::SetScrollPos(int pos, BOOL redraw) {
  const int previous = GetScrollPos();
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
  ::SetScrollInfo(m_hWnd, SB_CTL, &info, redraw);
  return previous;
}

BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO info, UINT mask) {
  info->cbSize = sizeof(SCROLLINFO);
  info->fMask = mask;
  return ::GetScrollInfo(m_hWnd, SB_CTL, info);
}

BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO info, BOOL redraw) {
  info->cbSize = sizeof(SCROLLINFO);
  ::SetScrollInfo(m_hWnd, SB_CTL, info, redraw);
  return TRUE;
}
