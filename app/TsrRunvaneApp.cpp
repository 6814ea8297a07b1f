#include "app/TsrRunvaneApp.h"

#include <string_view>

#include "app/LauncherMessage.h"
#include "app/TsrRunvaneDlg.h"

namespace {

constexpr std::string_view kNoWindow = "The installation guide's window could not be opened.";

}  // namespace

// No application name: the framework takes the executable's.
CTsrRunvaneApp::CTsrRunvaneApp() : CWinApp(nullptr) {}

CTsrRunvaneApp::~CTsrRunvaneApp() = default;

BOOL CTsrRunvaneApp::InitInstance() {
  m_exitCode = 0;
  CTsrRunvaneDlg dialog(nullptr);
  m_pMainWnd = &dialog;
  const INT_PTR result = dialog.DoModal();
  // The window is gone; the object goes with this scope.
  m_pMainWnd = nullptr;
  if (!dialog.GuideLookupFailure().empty()) {
    ShowLauncherError(dialog.GuideLookupFailure().Ref());
    m_exitCode = 1;
  } else if (!dialog.GuidePageFailure().empty()) {
    // The window said why the guide could not be shown, and so did standard error; the run
    // still failed at what it is for.
    m_exitCode = 1;
  } else if (result == -1) {
    // The template could not be had or the window not made: not a normal close.
    ShowLauncherError(UStringRef<UTF8>(kNoWindow));
    m_exitCode = 1;
  }
  return FALSE;
}
