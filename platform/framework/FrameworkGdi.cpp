// The framework's wrappers of graphics objects and device contexts.
#include "afxwin.h"

#include <utility>

#include "FrameworkTemporaries.h"

namespace {

// A wrapper takes a handle only while it holds none, and never takes a null one.
template <class Handle>
BOOL TakeHandle(Handle& slot, Handle handle) {
  if (handle == nullptr || slot != nullptr) return FALSE;
  slot = handle;
  return TRUE;
}

}  // namespace

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ object) { return TakeHandle(m_hObject, object); }

HGDIOBJ CGdiObject::Detach() { return std::exchange(m_hObject, nullptr); }

BOOL CGdiObject::DeleteObject() {
  if (m_hObject == nullptr) return FALSE;
  return ::DeleteObject(Detach());
}

CRgn* CRgn::FromHandle(HRGN region) {
  // Regions have no temporary map of their own here; a caller that needs one attaches it.
  // Never destroyed, so that it never deletes the region it last stood for.
  static thread_local CRgn* scratch = new CRgn;
  scratch->m_hObject = region;
  return scratch;
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) { return Attach(::CreateRectRgn(left, top, right, bottom)); }

BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect) { return Attach(::CreateRectRgnIndirect(rect)); }

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  return Attach(::CreatePolygonRgn(points, count, fillMode));
}

void CRgn::SetRectRgn(int left, int top, int right, int bottom) { ::SetRectRgn(*this, left, top, right, bottom); }

void CRgn::SetRectRgn(LPCRECT rect) { ::SetRectRgn(*this, rect->left, rect->top, rect->right, rect->bottom); }

int CRgn::CombineRgn(const CRgn* source1, const CRgn* source2, int mode) {
  return ::CombineRgn(*this, source1 != nullptr ? HRGN(*source1) : nullptr, source2 != nullptr ? HRGN(*source2) : nullptr, mode);
}

int CRgn::CopyRgn(const CRgn* source) { return ::CombineRgn(*this, *source, nullptr, RGN_COPY); }

int CRgn::OffsetRgn(int dx, int dy) { return ::OffsetRgn(*this, dx, dy); }

int CRgn::GetRgnBox(LPRECT rect) const { return ::GetRgnBox(*this, rect); }

BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }

BOOL CFont::CreateFontIndirect(const LOGFONTW* logFont) { return Attach(::CreateFontIndirectW(logFont)); }

CDC::~CDC() {
  if (m_hDC != nullptr) DeleteDC();
}

CDC* CDC::FromHandle(HDC dc) { return dc != nullptr ? TemporaryDeviceContextObject(dc) : nullptr; }

BOOL CDC::Attach(HDC dc) { return TakeHandle(m_hDC, dc); }

HDC CDC::Detach() { return std::exchange(m_hDC, nullptr); }

BOOL CDC::CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc != nullptr ? dc->m_hDC : nullptr)); }

BOOL CDC::DeleteDC() {
  if (m_hDC == nullptr) return FALSE;
  return ::DeleteDC(Detach());
}

int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

int CDC::SelectClipRgn(CRgn* region) { return ::SelectClipRgn(m_hDC, region != nullptr ? HRGN(*region) : nullptr); }

int CDC::SelectClipRgn(CRgn* region, int mode) {
  return ::ExtSelectClipRgn(m_hDC, region != nullptr ? HRGN(*region) : nullptr, mode);
}

int CDC::GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

CClientDC::CClientDC(CWnd* window) : window_(AfxGetSafeHwnd(window)) {
  m_hDC = ::GetDC(window_);
  if (m_hDC == nullptr) AfxThrowResourceException();
}

CClientDC::~CClientDC() {
  if (m_hDC != nullptr) ::ReleaseDC(window_, Detach());
}
