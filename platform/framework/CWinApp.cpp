// The application object, its thread's message loop, and the framework's global accessors.
#include "afxwin.h"

#include <string>

#include "WideText.h"
#include "FrameworkTemporaries.h"

namespace {

CWinApp* theApplication = nullptr;
HINSTANCE resourceHandle = nullptr;

WString ExecutableBaseName() {
  WCHAR path[1024];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, 1024);
  WString text(path, n);
  const std::size_t slash = text.find_last_of(WIDE("\\/"));
  if (slash != WString::npos) text.erase(0, slash + 1);
  const std::size_t dot = text.find_last_of(WIDE('.'));
  if (dot != WString::npos && dot != 0) text.erase(dot);
  return text;
}

}  // namespace

CWinThread::CWinThread() : m_pMainWnd(nullptr), m_exitCode(0) {}

CWinThread::~CWinThread() = default;

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return m_exitCode; }

CWnd* CWinThread::GetMainWnd() { return m_pMainWnd; }

BOOL CWinThread::PreTranslateMessage(MSG* msg) {
  return CWnd::WalkPreTranslateTree(m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr, msg);
}

BOOL CWinThread::OnIdle(LONG count) {
  ReleaseTemporaryObjects();
  return FALSE;
}

BOOL CWinThread::PumpMessage() {
  MSG msg;
  if (!::GetMessageW(&msg, nullptr, 0, 0)) {
    m_exitCode = static_cast<int>(msg.wParam);
    return FALSE;
  }
  if (!PreTranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return TRUE;
}

int CWinThread::Run() {
  LONG idleCount = 0;
  MSG msg;
  running_ = TRUE;
  for (;;) {
    while (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++)) {
    }
    if (!PumpMessage()) {
      running_ = FALSE;
      return ExitInstance();
    }
    idleCount = 0;
  }
}

CWinApp::CWinApp(LPCWSTR appName)
    : m_pszAppName(appName),
      m_pszExeName(nullptr),
      m_pszProfileName(nullptr),
      m_pszRegistryKey(nullptr),
      m_hInstance(nullptr),
      m_lpCmdLine(nullptr),
      m_nCmdShow(SW_SHOWDEFAULT) {
  theApplication = this;
}

CWinApp::~CWinApp() {
  if (theApplication == this) theApplication = nullptr;
}

BOOL CWinApp::InitApplication() { return TRUE; }

void CWinApp::SetCurrentHandles() {
  if (m_hInstance == nullptr) m_hInstance = ::GetModuleHandleW(nullptr);
  if (resourceHandle == nullptr) resourceHandle = m_hInstance;
  const WString base = ExecutableBaseName();
  if (m_pszExeName == nullptr) {
    exeName_ = base.c_str();
    m_pszExeName = exeName_;
  }
  if (m_pszAppName == nullptr) {
    appName_ = m_pszExeName;
    m_pszAppName = appName_;
  }
  if (m_pszProfileName == nullptr) {
    profileName_ = CStringW(m_pszExeName) + WIDE(".INI");
    m_pszProfileName = profileName_;
  }
}

CStringW CWinApp::GetProfileStringW(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue) {
  if (m_pszProfileName == nullptr) SetCurrentHandles();
  if (section == nullptr || entry == nullptr) return CStringW(defaultValue);
  // The call cuts a text that does not fit to the buffer less one unit; a bigger buffer
  // follows until the text ends short of it.
  WString buffer(256, WIDE('\0'));
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD copied = ::GetPrivateProfileStringW(section, entry, defaultValue, buffer.data(), size, m_pszProfileName);
    if (copied + 1 < size) return CStringW(buffer.data(), static_cast<int>(copied));
    buffer.resize(buffer.size() * 2);
  }
}

BOOL CWinApp::WriteProfileStringW(LPCWSTR section, LPCWSTR entry, LPCWSTR value) {
  if (m_pszProfileName == nullptr) SetCurrentHandles();
  return ::WritePrivateProfileStringW(section, entry, value, m_pszProfileName);
}

UINT CWinApp::GetProfileIntW(LPCWSTR section, LPCWSTR entry, int defaultValue) {
  const CStringW text = GetProfileStringW(section, entry, nullptr);
  if (text.IsEmpty()) return static_cast<UINT>(defaultValue);
  long long value = 0;
  int i = 0;
  const bool negative = text[0] == WIDE('-');
  if (negative) ++i;
  for (; i < text.GetLength() && text[i] >= WIDE('0') && text[i] <= WIDE('9'); ++i) value = value * 10 + (text[i] - WIDE('0'));
  return static_cast<UINT>(negative ? -value : value);
}

BOOL CWinApp::WriteProfileIntW(LPCWSTR section, LPCWSTR entry, int value) {
  CStringW text;
  text.Format(WIDE("%d"), value);
  return WriteProfileStringW(section, entry, text);
}

HICON CWinApp::LoadIcon(UINT id) const { return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)); }

HICON CWinApp::LoadIcon(LPCWSTR name) const { return ::LoadIconW(AfxGetResourceHandle(), name); }

CWinApp* AfxGetApp() { return theApplication; }

CWinThread* AfxGetThread() { return theApplication; }

CWnd* AfxGetMainWnd() { return theApplication != nullptr ? theApplication->GetMainWnd() : nullptr; }

HINSTANCE AfxGetInstanceHandle() {
  if (theApplication != nullptr && theApplication->m_hInstance != nullptr) return theApplication->m_hInstance;
  return ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return resourceHandle != nullptr ? resourceHandle : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE instance) { resourceHandle = instance; }

HINSTANCE AfxFindResourceHandle(LPCWSTR name, LPCWSTR type) { return AfxGetResourceHandle(); }

void AfxPostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return -1;
  app->m_hInstance = instance != nullptr ? instance : ::GetModuleHandleW(nullptr);
  app->m_lpCmdLine = commandLine;
  app->m_nCmdShow = showCommand;
  app->SetCurrentHandles();
  if (!app->InitApplication()) return app->ExitInstance();
  // An application that answers FALSE ends here. Its main window object may have lived on
  // InitInstance's stack, so it is not touched again; a window it left open goes with the
  // process.
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
