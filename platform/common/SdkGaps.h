// The API names this system uses that MinGW-w64 10's headers or import libraries lack, and the
// module resource table that only our own headers declare. Included after <windows.h> and the
// sub-headers it completes; on Linux our headers already declare all of it.
#pragma once

#include <windows.h>
#include <docobj.h>
#include <mshtmhst.h>

#ifdef _WIN32

// The extended dialog template's fixed parts, packed on 16-bit boundaries like the classic
// form; the SDK documents them but does not declare them.
#pragma pack(push, 2)
struct DLGTEMPLATEEX {
  WORD dlgVer;
  WORD signature;
  DWORD helpID;
  DWORD exStyle;
  DWORD style;
  WORD cDlgItems;
  short x;
  short y;
  short cx;
  short cy;
};
struct DLGITEMTEMPLATEEX {
  DWORD helpID;
  DWORD exStyle;
  DWORD style;
  short x;
  short y;
  short cx;
  short cy;
  DWORD id;
};
#pragma pack(pop)
static_assert(sizeof(DLGTEMPLATEEX) == 26, "the platform's record size");
static_assert(sizeof(DLGITEMTEMPLATEEX) == 24, "the platform's record size");

// The browser's command group (Exec of command 1 on a document opens find): not declared at
// all. IDocHostShowUI's and the document events' identifiers are declared but missing from
// libuuid. Selectany, so that every unit may define them.
EXTERN_C const GUID DECLSPEC_SELECTANY CGID_IWebBrowser = {0xED016940, 0xBD5B, 0x11CF, {0xBA, 0x4E, 0x00, 0xC0, 0x4F, 0xD7, 0x08, 0x16}};
EXTERN_C const IID DECLSPEC_SELECTANY IID_IDocHostShowUI = {0xC4D244B0, 0xD43E, 0x11CF, {0x89, 0x3B, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x1A}};
EXTERN_C const IID DECLSPEC_SELECTANY DIID_HTMLDocumentEvents2 = {0x3050F613, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};

// On Windows the resource compiler puts the module's resources into the executable from its
// resource script, so there is no table to register: the same entries are already found by
// FindResourceW.
struct RESOURCE_TABLE_ENTRY {
  LPCWSTR type;
  LPCWSTR name;
  WORD language;
  const void* data;
  DWORD size;
};
inline BOOL RegisterModuleResources(HMODULE, const RESOURCE_TABLE_ENTRY*, UINT) { return TRUE; }

#else

#include <mshtmcid.h>
#include <resourcetable.h>

#endif
