// The dialog template editor: a private, validated copy of a template in a global block.
#include "afxpriv.h"

#include <cstring>
#include <vector>

#include "WideText.h"
#include "DialogTemplateReader.h"
#include "core/kernel/KnownMemory.h"

namespace {

void PutWord(std::vector<BYTE>& out, WORD value) {
  out.push_back(static_cast<BYTE>(value));
  out.push_back(static_cast<BYTE>(value >> 8));
}

void PutDword(BYTE* at, DWORD value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<BYTE>(value >> (8 * i));
}

HGLOBAL CopyToBlock(const BYTE* bytes, std::size_t size) {
  HGLOBAL block = ::GlobalAlloc(GPTR, size);
  if (block == nullptr) return nullptr;
  std::memcpy(::GlobalLock(block), bytes, size);
  ::GlobalUnlock(block);
  return block;
}

LOGFONTW MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  return metrics.lfMessageFont;
}

int ScreenDpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi != 0 ? dpi : 96;
}

// The dialog base units of a font, measured as the dialog manager measures them: the average
// width of the 52 Latin letters, rounded, and the character cell's height.
SIZE BaseUnits(const LOGFONTW& font) {
  static constexpr WCHAR kLetters[] = WIDE("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const HDC screen = ::GetDC(nullptr);
  const HFONT made = ::CreateFontIndirectW(&font);
  const HGDIOBJ previous = ::SelectObject(screen, made);
  TEXTMETRICW metrics{};
  SIZE extent{};
  ::GetTextMetricsW(screen, &metrics);
  ::GetTextExtentPoint32W(screen, kLetters, 52, &extent);
  if (previous != nullptr) ::SelectObject(screen, previous);
  ::DeleteObject(made);
  ::ReleaseDC(nullptr, screen);
  return SIZE{(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

DialogTemplateReadResult ReadBlock(HGLOBAL block, DWORD size) {
  const void* bytes = ::GlobalLock(block);
  DialogTemplateReadResult read = ReadDialogTemplate(bytes, size);
  ::GlobalUnlock(block);
  return read;
}

}  // namespace

CDialogTemplate::CDialogTemplate(const DLGTEMPLATE* dialogTemplate)
    : m_hTemplate(nullptr), m_dwTemplateSize(0), m_bSystemFont(FALSE) {
  if (dialogTemplate == nullptr) return;
  // Only as far as the memory that holds the template reaches.
  const std::size_t available = KnownBytesFrom(dialogTemplate);
  if (available != 0) SetTemplate(dialogTemplate, static_cast<UINT>(available));
}

CDialogTemplate::CDialogTemplate(HGLOBAL dialogTemplate) : m_hTemplate(nullptr), m_dwTemplateSize(0), m_bSystemFont(FALSE) {
  if (dialogTemplate == nullptr) return;
  const SIZE_T blockSize = ::GlobalSize(dialogTemplate);
  if (blockSize != 0) {
    const auto* pointer = static_cast<const DLGTEMPLATE*>(::GlobalLock(dialogTemplate));
    SetTemplate(pointer, static_cast<UINT>(blockSize));
    ::GlobalUnlock(dialogTemplate);
    return;
  }
  const auto* pointer = static_cast<const DLGTEMPLATE*>(::LockResource(dialogTemplate));
  const std::size_t available = KnownBytesFrom(pointer);
  if (available != 0) SetTemplate(pointer, static_cast<UINT>(available));
}

CDialogTemplate::~CDialogTemplate() {
  if (m_hTemplate != nullptr) ::GlobalFree(m_hTemplate);
}

BOOL CDialogTemplate::SetTemplate(const DLGTEMPLATE* dialogTemplate, UINT size) {
  const DialogTemplateReadResult read = ReadDialogTemplate(dialogTemplate, size);
  if (!read.ok) return FALSE;
  HGLOBAL block = CopyToBlock(reinterpret_cast<const BYTE*>(dialogTemplate), read.dialog.size);
  if (block == nullptr) return FALSE;
  if (m_hTemplate != nullptr) ::GlobalFree(m_hTemplate);
  m_hTemplate = block;
  m_dwTemplateSize = static_cast<DWORD>(read.dialog.size);
  return TRUE;
}

BOOL CDialogTemplate::Load(LPCWSTR templateName) {
  const HINSTANCE instance = AfxFindResourceHandle(templateName, RT_DIALOG);
  HRSRC resource = ::FindResourceW(instance, templateName, RT_DIALOG);
  if (resource == nullptr) return FALSE;
  const auto* pointer = static_cast<const DLGTEMPLATE*>(::LockResource(::LoadResource(instance, resource)));
  return pointer != nullptr && SetTemplate(pointer, ::SizeofResource(instance, resource));
}

HGLOBAL CDialogTemplate::Detach() {
  HGLOBAL block = m_hTemplate;
  m_hTemplate = nullptr;
  m_dwTemplateSize = 0;
  return block;
}

BOOL CDialogTemplate::HasFont() const {
  if (m_hTemplate == nullptr) return FALSE;
  const DialogTemplateReadResult read = ReadBlock(m_hTemplate, m_dwTemplateSize);
  return read.ok && read.dialog.hasFont;
}

BOOL CDialogTemplate::SetFont(LPCWSTR faceName, WORD fontSize) {
  if (m_hTemplate == nullptr || faceName == nullptr) return FALSE;
  const DialogTemplateReadResult read = ReadBlock(m_hTemplate, m_dwTemplateSize);
  if (!read.ok) return FALSE;
  const DialogDescription& d = read.dialog;
  const auto* old = static_cast<const BYTE*>(::GlobalLock(m_hTemplate));
  // Header, menu, class and title stay; the font block is written anew.
  const std::size_t keep = d.hasFont ? d.fontOffset : d.titleEnd;
  std::vector<BYTE> out(old, old + keep);
  PutDword(out.data() + (d.extended ? 12 : 0), d.style | DS_SETFONT);
  PutWord(out, fontSize);
  if (d.extended) {
    PutWord(out, d.hasFont ? d.weight : FW_NORMAL);
    out.push_back(d.hasFont ? d.italic : 0);
    out.push_back(d.hasFont ? d.charSet : DEFAULT_CHARSET);
  }
  for (LPCWSTR p = faceName; *p != 0; ++p) PutWord(out, *p);
  PutWord(out, 0);
  // The items keep their bytes; both starts are 4-byte boundaries, so every item's own
  // alignment holds after the shift.
  if (!d.items.empty()) {
    while (out.size() % 4 != 0) out.push_back(0);
    out.insert(out.end(), old + d.itemOffsets.front(), old + d.size);
  }
  ::GlobalUnlock(m_hTemplate);
  HGLOBAL block = CopyToBlock(out.data(), out.size());
  if (block == nullptr) return FALSE;
  ::GlobalFree(m_hTemplate);
  m_hTemplate = block;
  m_dwTemplateSize = static_cast<DWORD>(out.size());
  m_bSystemFont = FALSE;
  return TRUE;
}

BOOL CDialogTemplate::SetSystemFont(WORD fontSize) {
  const LOGFONTW font = MessageFont();
  if (fontSize == 0) {
    const LONG pixels = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    fontSize = static_cast<WORD>(::MulDiv(pixels, 72, ScreenDpi()));
  }
  if (!SetFont(font.lfFaceName, fontSize)) return FALSE;
  m_bSystemFont = TRUE;
  return TRUE;
}

BOOL CDialogTemplate::GetFont(CStringW& faceName, WORD& fontSize) const {
  if (m_hTemplate == nullptr) return FALSE;
  const DialogTemplateReadResult read = ReadBlock(m_hTemplate, m_dwTemplateSize);
  if (!read.ok || !read.dialog.hasFont) return FALSE;
  faceName = CStringW(read.dialog.faceName.c_str());
  fontSize = read.dialog.pointSize;
  return TRUE;
}

BOOL CDialogTemplate::GetFont(const DLGTEMPLATE* dialogTemplate, CStringW& faceName, WORD& fontSize) {
  const DialogTemplateReadResult read = ReadDialogTemplate(dialogTemplate, KnownBytesFrom(dialogTemplate));
  if (!read.ok || !read.dialog.hasFont) return FALSE;
  faceName = CStringW(read.dialog.faceName.c_str());
  fontSize = read.dialog.pointSize;
  return TRUE;
}

void CDialogTemplate::GetSizeInDialogUnits(SIZE* size) const {
  *size = SIZE{0, 0};
  if (m_hTemplate == nullptr) return;
  const DialogTemplateReadResult read = ReadBlock(m_hTemplate, m_dwTemplateSize);
  if (read.ok) *size = SIZE{read.dialog.cx, read.dialog.cy};
}

void CDialogTemplate::GetSizeInPixels(SIZE* size) const {
  *size = SIZE{0, 0};
  if (m_hTemplate == nullptr) return;
  const DialogTemplateReadResult read = ReadBlock(m_hTemplate, m_dwTemplateSize);
  if (!read.ok) return;
  const int dpi = ScreenDpi();
  LONG baseX = ::MulDiv(8, dpi, 96);
  LONG baseY = ::MulDiv(16, dpi, 96);
  if (read.dialog.hasFont) {
    // 0x7FFF stands for the desktop's message font.
    LOGFONTW font = read.dialog.pointSize == 0x7FFF ? MessageFont() : LOGFONTW{};
    if (read.dialog.pointSize != 0x7FFF) font.lfHeight = -::MulDiv(read.dialog.pointSize, dpi, 72);
    const SIZE units = BaseUnits(font);
    baseX = units.cx;
    baseY = units.cy;
  }
  *size = SIZE{::MulDiv(read.dialog.cx, baseX, 4), ::MulDiv(read.dialog.cy, baseY, 8)};
}
