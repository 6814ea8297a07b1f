// The size-grip mix-in of a resizable window: creates the grip as a child of the host, keeps
// it in the host's lower right corner at the bottom of the z-order, and shows it while at
// least one reason to show it is counted.
#pragma once

#include <afxwin.h>

#include "resizable/SizeGrip.h"

class CResizableGrip {
 public:
  CResizableGrip() = default;
  CResizableGrip(const CResizableGrip&) = delete;
  CResizableGrip& operator=(const CResizableGrip&) = delete;

  // Creates the grip window; FALSE when it cannot be created.
  BOOL CreateGrip(BOOL visible = TRUE, BOOL triangular = TRUE);
  // Puts the grip in the host's lower right corner, shown or hidden after the count.
  void PositionGrip();
  // Counts the reason in when none of mask's bits is set in stateBits, and sets them.
  void AddGripShowReason(DWORD& stateBits, DWORD mask);
  // Counts the reason out when one of mask's bits is set in stateBits, and clears them.
  void RemoveGripShowReason(DWORD& stateBits, DWORD mask);

  CSizeGrip& Grip() { return grip_; }
  int ShowCount() const { return showCount_; }

 protected:
  virtual CWnd* GetHostWindow() = 0;

 public:
  virtual ~CResizableGrip();

 private:
  CSizeGrip grip_;
  int showCount_ = 0;
};
