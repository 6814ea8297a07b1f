// Dialog objects: modeless creation from templates, the modal run, and the dialog's commands.
#include "afxwin.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, &CDialog::OnOK)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog()
    : m_lpszTemplateName(nullptr),
      m_hDialogTemplate(nullptr),
      m_lpDialogTemplate(nullptr),
      m_lpDialogInit(nullptr),
      m_pParentWnd(nullptr),
      m_hWndTop(nullptr),
      m_nIDHelp(0) {}

CDialog::CDialog(UINT templateId, CWnd* parent) : CDialog() {
  m_lpszTemplateName = MAKEINTRESOURCEW(templateId);
  m_nIDHelp = templateId;
  m_pParentWnd = parent;
}

CDialog::CDialog(LPCWSTR templateName, CWnd* parent) : CDialog() {
  m_lpszTemplateName = templateName;
  if (IS_INTRESOURCE(templateName)) m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(templateName));
  m_pParentWnd = parent;
}

CDialog::~CDialog() = default;

BOOL CDialog::Create(LPCWSTR templateName, CWnd* parent) {
  m_lpszTemplateName = templateName;
  if (IS_INTRESOURCE(templateName) && m_nIDHelp == 0) m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(templateName));
  const HINSTANCE instance = AfxFindResourceHandle(templateName, RT_DIALOG);
  HRSRC resource = ::FindResourceW(instance, templateName, RT_DIALOG);
  if (resource == nullptr) return FALSE;
  return CreateIndirect(::LoadResource(instance, resource), parent, instance);
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) { return Create(MAKEINTRESOURCEW(templateId), parent); }

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent, void* dialogInit) {
  return CreateIndirect(dialogTemplate, parent, dialogInit, AfxGetResourceHandle());
}

BOOL CDialog::CreateIndirect(HGLOBAL dialogTemplate, CWnd* parent) {
  return CreateIndirect(dialogTemplate, parent, AfxGetResourceHandle());
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent, void* dialogInit, HINSTANCE instance) {
  m_lpDialogInit = dialogInit;
  if (parent == nullptr) parent = m_pParentWnd;
  return CreateDlgIndirect(dialogTemplate, parent, instance);
}

BOOL CDialog::CreateIndirect(HGLOBAL dialogTemplate, CWnd* parent, HINSTANCE instance) {
  if (dialogTemplate == nullptr) return FALSE;
  // A global block is locked for the creation; a loaded resource is its own address.
  const bool globalBlock = ::GlobalHandle(dialogTemplate) != nullptr || ::GlobalSize(dialogTemplate) != 0;
  auto* pointer = static_cast<LPCDLGTEMPLATE>(globalBlock ? ::GlobalLock(dialogTemplate) : ::LockResource(dialogTemplate));
  const BOOL created = CreateIndirect(pointer, parent, nullptr, instance);
  if (globalBlock) ::GlobalUnlock(dialogTemplate);
  return created;
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE dialogTemplate, CWnd* parent, void* dialogInit) {
  m_lpDialogTemplate = dialogTemplate;
  m_lpDialogInit = dialogInit;
  m_pParentWnd = parent;
  return dialogTemplate != nullptr;
}

BOOL CDialog::InitModalIndirect(HGLOBAL dialogTemplate, CWnd* parent) {
  m_hDialogTemplate = dialogTemplate;
  m_pParentWnd = parent;
  return dialogTemplate != nullptr;
}

HWND CDialog::PreModal() { return CWnd::GetSafeOwner_(AfxGetSafeHwnd(m_pParentWnd), &m_hWndTop); }

void CDialog::PostModal() {
  if (m_hWndTop != nullptr) ::EnableWindow(m_hWndTop, TRUE);
  m_hWndTop = nullptr;
}

INT_PTR CDialog::DoModal() {
  LPCDLGTEMPLATE dialogTemplate = m_lpDialogTemplate;
  HGLOBAL templateHandle = m_hDialogTemplate;
  const HINSTANCE instance = AfxGetResourceHandle();
  if (m_lpszTemplateName != nullptr) {
    HRSRC resource = ::FindResourceW(instance, m_lpszTemplateName, RT_DIALOG);
    templateHandle = resource != nullptr ? ::LoadResource(instance, resource) : nullptr;
  }
  bool lockedGlobal = false;
  if (templateHandle != nullptr) {
    lockedGlobal = ::GlobalSize(templateHandle) != 0;
    dialogTemplate = static_cast<LPCDLGTEMPLATE>(lockedGlobal ? ::GlobalLock(templateHandle) : ::LockResource(templateHandle));
  }
  if (dialogTemplate == nullptr) return -1;

  const HWND owner = PreModal();
  bool enableOwner = false;
  if (owner != nullptr && owner != ::GetDesktopWindow() && ::IsWindowEnabled(owner)) {
    ::EnableWindow(owner, FALSE);
    enableOwner = true;
  }
  try {
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateDlgIndirect(dialogTemplate, CWnd::FromHandle(owner), instance) && (m_nFlags & WF_CONTINUEMODAL)) {
      const DWORD flags = MLF_SHOWONIDLE | ((GetStyle() & DS_NOIDLEMSG) ? MLF_NOIDLEMSG : 0);
      RunModalLoop(flags);
    }
    if (m_hWnd != nullptr)
      SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  } catch (CException* e) {
    e->Delete();
    m_nModalResult = -1;
  }
  if (enableOwner) ::EnableWindow(owner, TRUE);
  if (owner != nullptr && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
  DestroyWindow();
  PostModal();
  if (lockedGlobal) ::GlobalUnlock(templateHandle);
  return m_nModalResult;
}

void CDialog::EndDialog(int result) {
  if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(result);
  ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  // Keys of the dialog's own navigation (Escape, Enter) become its commands.
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd != nullptr &&
      (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd)))
    return ::IsDialogMessageW(m_hWnd, msg);
  return FALSE;
}

INT_PTR CALLBACK AfxDlgProc(HWND window, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(window));
  return dialog != nullptr ? dialog->OnInitDialog() : TRUE;
}
