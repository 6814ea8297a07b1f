// Commands of a document object: IOleCommandTarget with its records and codes.
#pragma once

#include "oaidl.h"

struct OLECMD {
  ULONG cmdID;
  DWORD cmdf;
};

struct OLECMDTEXT {
  DWORD cmdtextf;
  ULONG cwActual;
  ULONG cwBuf;
  WCHAR rgwz[1];
};

#define OLECMDF_SUPPORTED 0x1
#define OLECMDF_ENABLED 0x2
#define OLECMDF_LATCHED 0x4
#define OLECMDF_NINCHED 0x8

#define OLECMDEXECOPT_DODEFAULT 0
#define OLECMDEXECOPT_PROMPTUSER 1
#define OLECMDEXECOPT_DONTPROMPTUSER 2
#define OLECMDEXECOPT_SHOWHELP 3

#define OLECMDERR_E_NOTSUPPORTED ((HRESULT)0x80040100L)
#define OLECMDERR_E_DISABLED ((HRESULT)0x80040101L)
#define OLECMDERR_E_UNKNOWNGROUP ((HRESULT)0x80040104L)

extern const IID IID_IOleCommandTarget;

struct IOleCommandTarget : public IUnknown {
  STDMETHOD(QueryStatus)(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[], OLECMDTEXT* pCmdText) PURE;
  STDMETHOD(Exec)(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn, VARIANT* pvaOut) PURE;
};
TSR_INTERFACE_ID(IOleCommandTarget, IID_IOleCommandTarget);
