#include "app/TsrRunvaneDlg.h"

#include <exception>

#include "app/GuideLocation.h"
#include "app/GuideLookupFailure.h"
#include "app/Resources.h"

namespace {

CWnd* ParentOrFocus(CWnd* parent) {
  CWnd* focus = CWnd::GetFocus();
  return focus != nullptr ? focus : parent;
}

}  // namespace

CTsrRunvaneDlg::CTsrRunvaneDlg(CWnd* parent)
    : CResizableDialog(ApplicationResources::kMainDialog, ParentOrFocus(parent)), guide_(this) {}

CTsrRunvaneDlg::~CTsrRunvaneDlg() = default;

// The base's initialisation is not run: these steps are all that happens here.
BOOL CTsrRunvaneDlg::OnInitDialog() {
  const RECT place = TakePlaceholderRect();
  guide_.Create(ApplicationResources::kGuideDialog, this);
  guide_.MoveWindow(place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
  guide_.ShowWindow(SW_SHOW);
  AnchorControl(guide_.m_hWnd, AnchorTopLeft, AnchorBottomRight);

  GuideLookupProgress progress;
  CopiedUString<UTF8> page;
  try {
    page = LocateGuidePage(progress);
  } catch (const std::exception& error) {
    // Nothing to show: the owner tells the user once the window is gone.
    guideLookupFailure_ = DescribeGuideLookupFailure(progress, error);
    EndDialog(IDABORT);
    return TRUE;
  }
  guide_.ShowGuide(page.Ref());
  SetWindowIcon();
  return TRUE;
}

// The placeholder's rectangle in client coordinates; the placeholder itself goes. Without
// one, the guide takes the whole client area.
RECT CTsrRunvaneDlg::TakePlaceholderRect() {
  CRect place;
  CWnd* placeholder = GetDlgItem(ApplicationResources::kPlaceholderControl);
  if (placeholder == nullptr) {
    GetClientRect(&place);
    return place;
  }
  placeholder->GetWindowRect(&place);
  placeholder->DestroyWindow();
  ScreenToClient(&place);
  return place;
}

// One icon for both sizes; the system scales it for the small one.
void CTsrRunvaneDlg::SetWindowIcon() {
  const HICON icon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(ApplicationResources::kWindowIcon));
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}
