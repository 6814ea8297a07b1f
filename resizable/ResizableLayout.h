// The layout engine of resizable windows: keeps each anchored child window at fixed pixel
// offsets from two anchor points of the host's layout area, moves them all in one deferred
// batch, and narrows the host's background erase to spare the controls that prefer it.
#pragma once

#include <optional>
#include <vector>

#include <windows.h>

#include "resizable/LayoutGeometry.h"

class CWnd;

// The registered message of the resize-support protocol ("WMU_RESIZESUPPORT"); registered
// once per process. wParam is a query code, lParam the address of the query's record.
UINT ResizeSupportMessage();

enum ResizeQuery : WPARAM {
  ResizeQueryProperties = 101,  // record: ResizeProperties
  ResizeQueryClipping = 102,    // record: one BOOL, preset FALSE
  ResizeQueryRefresh = 103,     // record: RefreshQuery, needsRefresh preset TRUE
};

// How the two per-control decisions are taken; also the record of query 101.
struct ResizeProperties {
  BOOL askClipping = TRUE;
  BOOL askRefresh = TRUE;
  BOOL cachedClipping = FALSE;
  BOOL cachedRefresh = FALSE;
};
static_assert(sizeof(ResizeProperties) == 16, "the record a control fills in");

// The record of query 103.
struct RefreshQuery {
  BOOL needsRefresh;
  RECT oldRect;
  RECT newRect;
};
static_assert(sizeof(RefreshQuery) == 36, "the record a control fills in");

// One anchored control.
struct tagLAYOUTINFO {
  HWND window = nullptr;
  UINT_PTR callbackId = 0;  // 0 for plain entries
  WCHAR className[MAX_PATH] = {};
  AnchorPoint anchorTopLeft{0, 0};
  SIZE offsetTopLeft{0, 0};
  AnchorPoint anchorBottomRight{0, 0};
  SIZE offsetBottomRight{0, 0};
  BOOL answersQueries = FALSE;
  ResizeProperties properties;
};
typedef tagLAYOUTINFO LAYOUTINFO;

class CResizableLayout {
 public:
  CResizableLayout() = default;
  CResizableLayout(const CResizableLayout&) = delete;
  CResizableLayout& operator=(const CResizableLayout&) = delete;

  // Adds an entry for an existing child of the host; its current rectangle fixes its offsets.
  // A window anchored twice has two entries, applied in order.
  void AnchorControl(HWND window, AnchorPoint anchorTopLeft, AnchorPoint anchorBottomRight);
  // Moves and sizes every anchored control for the current layout area, in one batch.
  void ApplyLayout();
  void ClearLayout();
  // Narrows the clipping of the host's erase context to spare the controls that prefer it.
  BOOL ClipForErase(HDC dc);
  // During the host's WM_NCCREATE: a top-level host gets a sizing border and keeps its
  // client size; cs is updated to the new window size.
  void MakeResizableFrame(CREATESTRUCTW* cs);
  // Whether this process runs as the client UI (by its executable's name); worked out once.
  static bool RunsAsClientUi();

  std::size_t EntryCount() const { return layoutList_.size() + callbackList_.size(); }

 protected:
  virtual void ProbeResizeProperties(LAYOUTINFO& entry);
  virtual bool PrefersClipping(const LAYOUTINFO& entry);
  virtual bool NeedsRepaint(const LAYOUTINFO& entry, const RECT& oldRect, const RECT& newRect);
  virtual void GetLayoutArea(RECT& area);
  virtual bool SupplyCallbackLayout(LAYOUTINFO& entry);
  virtual CWnd* GetHostWindow() = 0;

 public:
  virtual ~CResizableLayout();

 protected:
  // Entries whose anchors a derived class supplies at each arrangement.
  void AddCallbackEntry(const LAYOUTINFO& entry) { callbackList_.push_back(entry); }
  HWND HostHandle();

 private:
  void ComputeOffsets(HWND window, LAYOUTINFO& entry);
  RECT ControlRect(HWND window);
  HDWP DeferEntry(HDWP batch, const LAYOUTINFO& entry, const RECT& area);
  bool OwnerDrawPrefersClipping(HWND button);
  std::optional<LayoutGeometry::ScrollRange> HorizontalScroll(HWND listBox);
  void MergeControlRegion(const LAYOUTINFO& entry, HRGN region);

  std::vector<LAYOUTINFO> layoutList_;
  std::vector<LAYOUTINFO> callbackList_;
};
