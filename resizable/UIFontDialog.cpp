#include "resizable/UIFontDialog.h"

#include <cstring>
#include <vector>

#include <afxpriv.h>

#include "foundation/OSVersionInfo.h"
#include "foundation/WindowsError.h"
#include "resizable/DialogTemplateRewriter.h"
#include "resizable/DialogTextPath.h"
#include "resizable/SystemMessageFont.h"

namespace {

// A global block that is freed when its owner leaves scope, also during unwinding.
class GlobalBlock {
 public:
  GlobalBlock() = default;
  explicit GlobalBlock(HGLOBAL block) : block_(block) {}
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  ~GlobalBlock() { Reset(); }
  void Reset(HGLOBAL block = nullptr) {
    if (block_) ::GlobalFree(block_);
    block_ = block;
  }
  HGLOBAL Get() const { return block_; }

 private:
  HGLOBAL block_ = nullptr;
};

// A template to create a dialog from: its address, and the blocks made for it.
struct PreparedTemplate {
  GlobalBlock rewritten;
  GlobalBlock withFont;
  const DLGTEMPLATE* bytes = nullptr;
};

// The system's message font applies from version 6.0 on.
bool UsesMessageFont() { return IsOSVersionAtLeast(6, 0, 0); }

void Prepare(PreparedTemplate& prepared, const void* source, SIZE_T size) {
  prepared.rewritten.Reset(CUIFontDialog::RewriteDialogTemplate(source, size));
  HGLOBAL final = prepared.rewritten.Get();
  if (UsesMessageFont()) {
    prepared.withFont.Reset(CUIFontDialog::ApplyMessageFont(prepared.rewritten.Get()));
    final = prepared.withFont.Get();
  }
  prepared.bytes = static_cast<const DLGTEMPLATE*>(::GlobalLock(final));
  if (!prepared.bytes) RaiseLastError();
}

// The bytes and size of a named template of the module; null when there is none.
const void* FindTemplate(HINSTANCE module, LPCWSTR name, SIZE_T& size) {
  HRSRC resource = ::FindResourceW(module, name, RT_DIALOG);
  if (!resource) return nullptr;
  HGLOBAL loaded = ::LoadResource(module, resource);
  if (!loaded) return nullptr;
  size = ::SizeofResource(module, resource);
  return ::LockResource(loaded);
}

}  // namespace

CUIFontDialog::CUIFontDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

CUIFontDialog::~CUIFontDialog() = default;

HGLOBAL CUIFontDialog::RewriteDialogTemplate(const void* dialogTemplate, SIZE_T size) {
  const std::vector<BYTE> rewritten = DialogTemplateRewriter(&DialogTextPath).Rewrite(dialogTemplate, size);
  HGLOBAL block = ::GlobalAlloc(GMEM_ZEROINIT, rewritten.size());
  if (!block) RaiseLastError();
  void* memory = ::GlobalLock(block);
  if (!memory) {
    const DWORD error = ::GetLastError();
    ::GlobalFree(block);
    RaiseWindowsError(error);
  }
  std::memcpy(memory, rewritten.data(), rewritten.size());
  ::GlobalUnlock(block);
  return block;
}

int CUIFontDialog::MessageFontPoints(LONG height, int dpi) {
  return ::MulDiv(height < 0 ? -height : height, 72, dpi);
}

HGLOBAL CUIFontDialog::ApplyMessageFont(HGLOBAL dialogTemplate) {
  CDialogTemplate editor(dialogTemplate);
  const LOGFONTW messageFont = SystemMessageFont();
  HDC screen = ::GetDC(nullptr);
  if (!screen) RaiseLastError();
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  const int points = MessageFontPoints(messageFont.lfHeight, dpi);
  editor.SetFont(messageFont.lfFaceName, static_cast<WORD>(points));
  HGLOBAL result = editor.Detach();
  ::ReleaseDC(nullptr, screen);
  return result;
}

BOOL CUIFontDialog::Create(UINT templateId, CWnd* parent) { return Create(MAKEINTRESOURCEW(templateId), parent); }

BOOL CUIFontDialog::Create(LPCWSTR templateName, CWnd* parent) {
  m_lpszTemplateName = templateName;
  if (IS_INTRESOURCE(templateName) && m_nIDHelp == 0) m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(templateName));
  const HINSTANCE module = AfxGetResourceHandle();
  SIZE_T size = 0;
  const void* source = FindTemplate(module, templateName, size);
  if (!source) return FALSE;
  PreparedTemplate prepared;
  Prepare(prepared, source, size);
  return CDialog::CreateIndirect(prepared.bytes, parent, nullptr, module);
}

INT_PTR CUIFontDialog::DoModal() {
  const HINSTANCE module = AfxGetResourceHandle();
  const DLGTEMPLATE* pointer = m_lpDialogTemplate;
  const void* source = nullptr;
  SIZE_T size = 0;
  if (m_lpszTemplateName) {
    source = FindTemplate(module, m_lpszTemplateName, size);
  } else if (m_hDialogTemplate) {
    source = ::GlobalLock(m_hDialogTemplate);
    size = ::GlobalSize(m_hDialogTemplate);
  }
  PreparedTemplate prepared;
  if (source) {
    Prepare(prepared, source, size);
    pointer = prepared.bytes;
  }
  if (m_hDialogTemplate && !m_lpszTemplateName) ::GlobalUnlock(m_hDialogTemplate);
  if (!pointer) return -1;

  HWND owner = PreModal();
  BOOL ownerDisabled = FALSE;
  CWnd* mainWindow = nullptr;
  BOOL mainDisabled = FALSE;
  if (owner && owner != ::GetDesktopWindow() && ::IsWindowEnabled(owner)) {
    ::EnableWindow(owner, FALSE);
    ownerDisabled = TRUE;
    mainWindow = AfxGetMainWnd();
    if (mainWindow && mainWindow->IsFrameWnd() && mainWindow->IsWindowEnabled()) {
      mainWindow->EnableWindow(FALSE);
      mainDisabled = TRUE;
    }
  }

  try {
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateDlgIndirect(pointer, CWnd::FromHandle(owner), module) && (m_nFlags & WF_CONTINUEMODAL)) {
      DWORD flags = MLF_SHOWONIDLE;
      if (GetStyle() & DS_NOIDLEMSG) flags |= MLF_NOIDLEMSG;
      RunModalLoop(flags);
    }
    if (m_hWnd) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                               SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  } catch (CException* e) {
    e->Delete();
    m_nModalResult = -1;
  }

  if (mainDisabled) mainWindow->EnableWindow(TRUE);
  if (ownerDisabled) ::EnableWindow(owner, TRUE);
  if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
  DestroyWindow();
  PostModal();
  return m_nModalResult;
}
