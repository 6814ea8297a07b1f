// The general state store of resizable windows: text values in one section of the
// application's profile.
#pragma once

#include <afxwin.h>

// The section of every store, "ResizableState"; fixed for the life of the process.
LPCWSTR ResizableStateSection();

class CResizableState {
 public:
  CResizableState();

  // The profile's text for the value; TRUE when it is not empty.
  virtual BOOL ReadStateValue(LPCWSTR name, CStringW& text);
  // The profile's answer to the write.
  virtual BOOL WriteStateValue(LPCWSTR name, LPCWSTR text);
  virtual ~CResizableState();

  const CStringW& StateSection() const { return stateSection; }

 protected:
  CStringW stateSection;
};
